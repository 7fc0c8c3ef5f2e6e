#pragma once

#include <QImage>
#include <QString>
#include <QVector>

struct Still
{
    QString name;
    QImage image;
};

struct Animation
{
    QString name;
    QVector<QImage> frames;
    int delayCentiseconds;
};

namespace Catalogue {

// Every PNG of the bundle, by file name.
QVector<Still> stills();
QVector<Animation> animations();
// The sizes that go into the application icon file, largest last.
QVector<QImage> applicationIconSizes();

} // namespace Catalogue
