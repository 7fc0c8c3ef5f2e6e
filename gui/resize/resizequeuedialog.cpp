#include "resizequeuedialog.h"
#include "ui_resizequeuedialog.h"

ResizeQueueDialog::ResizeQueueDialog(const QString &text, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ResizeQueueDialog)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->lblText->setText(text);

    connect(ui->pbClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->pbAccept, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->pbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ResizeQueueDialog::~ResizeQueueDialog()
{
    delete ui;
}

void ResizeQueueDialog::changeEvent(QEvent *event)
{
    // The question carries a count only the caller knows, so the body is left empty rather than stale.
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
