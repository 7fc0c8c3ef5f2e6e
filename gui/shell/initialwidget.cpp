#include "initialwidget.h"
#include "ui_initialwidget.h"

#include "mainwindow.h"

InitialWidget::InitialWidget(MainWindow *mainWindow, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::InitialWidget)
{
    ui->setupUi(this);
    connect(ui->pbAddImage, &QPushButton::clicked, mainWindow, &MainWindow::addImages);
}

InitialWidget::~InitialWidget()
{
    delete ui;
}

void InitialWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}
