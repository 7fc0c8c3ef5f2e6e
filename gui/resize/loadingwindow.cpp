#include "loadingwindow.h"
#include "ui_loadingwindow.h"

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
}

LoadingWindow::~LoadingWindow()
{
    delete ui;
    delete movie;
}
