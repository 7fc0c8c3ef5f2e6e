#include "resizefinisheddialog.h"
#include "ui_resizefinisheddialog.h"

ResizeFinishedDialog::ResizeFinishedDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ResizeFinishedDialog)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);

    connect(ui->pbClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->pbAccept, &QPushButton::clicked, this, &QDialog::accept);
}

ResizeFinishedDialog::~ResizeFinishedDialog()
{
    delete ui;
}

void ResizeFinishedDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
