#include "loadingwindow.h"
#include "ui_loadingwindow.h"

#include <QLocale>
#include <QMovie>

LoadingWindow::LoadingWindow(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags | Qt::FramelessWindowHint)
    , ui(new Ui::LoadingWindow)
    , movie(new QMovie(QStringLiteral(":/Images/loading0.gif")))
{
    // Must precede setupUi, or the first paint of the form shows an opaque background.
    setAttribute(Qt::WA_TranslucentBackground);
    ui->setupUi(this);
    // Plays for the window's whole life, so that showing it again needs no restart.
    ui->lblGif->setMovie(movie);
    movie->start();
    connect(ui->pbCancel, &QPushButton::clicked, this, &LoadingWindow::cancelRequested);
}

LoadingWindow::~LoadingWindow()
{
    delete ui;
    delete movie;
}

void LoadingWindow::setProgress(int done, int total)
{
    this->done = done;
    this->total = total;
    showProgress();
}

void LoadingWindow::showProgress()
{
    // "2,000" reads as a number to the user, "2000" in German or Russian as a year.
    const QLocale locale;
    ui->lblProgress->setText(
        tr("t_opening_progress %1 %2").arg(locale.toString(done), locale.toString(total)));
}

void LoadingWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showProgress();
    }
    QDialog::changeEvent(event);
}
