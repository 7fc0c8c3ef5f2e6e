#include "startsplash.h"
#include "ui_startsplash.h"

#include <QMovie>
#include <QTimer>

StartSplash::StartSplash(int displayTime, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint)
    , ui(new Ui::StartSplash)
    , displayTime(displayTime)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    movie = new QMovie(QStringLiteral(":/Images/dots.gif"), QByteArray(), this);
    ui->lblDots->setMovie(movie);
    // A movie that cannot be read finishes the moment it starts: restarting it would recurse without
    // end, so the label just stays empty.
    if (!movie->isValid())
        return;
    // A GIF's own loop count may be finite; restarting on finished keeps the dots moving however long
    // the start takes.
    connect(movie, &QMovie::finished, movie, &QMovie::start);
    movie->start();
}

StartSplash::~StartSplash()
{
    delete ui;
}

int StartSplash::exec()
{
    QTimer::singleShot(displayTime, this, &QDialog::close);
    return QDialog::exec();
}
