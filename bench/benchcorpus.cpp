#include "benchcorpus.h"

#include <Magick++.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtConcurrent>
#include <list>

namespace BenchCorpus {

namespace {

struct Item
{
    QString name;
    QSize size;
    int frames;
};

// Smooth shapes under grain: what makes real photos cost what they cost in an encoder.
QImage photoLike(const QSize &size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QRadialGradient light(size.width() * 0.3, size.height() * 0.3, size.width());
    light.setColorAt(0, QColor::fromHsv((seed * 53) % 360, 90, 240));
    light.setColorAt(1, QColor::fromHsv((seed * 53 + 160) % 360, 180, 60));
    painter.fillRect(image.rect(), light);
    QRandomGenerator random(quint32(seed * 7 + 3));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 140, 210, 110));
        const int w = 1 + random.bounded(size.width() / 3);
        painter.drawEllipse(random.bounded(size.width()), random.bounded(size.height()), w, w * 2 / 3);
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(random.bounded(13)) - 6;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    return image;
}

bool writeGif(const QString &path, const QSize &size, int frames)
{
    std::list<Magick::Image> list;
    for (int i = 0; i < frames; ++i) {
        const QImage frame = photoLike(size, 100 + i).convertToFormat(QImage::Format_RGB888);
        QByteArray packed;
        for (int y = 0; y < frame.height(); ++y)
            packed.append(reinterpret_cast<const char *>(frame.constScanLine(y)), frame.width() * 3);
        Magick::Image image(size_t(size.width()), size_t(size.height()), "RGB", Magick::CharPixel,
                            packed.constData());
        image.magick("GIF");
        image.animationDelay(8);
        list.push_back(image);
    }
    Magick::Blob blob;
    Magick::writeImages(list.begin(), list.end(), &blob, true);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(static_cast<const char *>(blob.data()), qint64(blob.length())) == qint64(blob.length());
}

bool write(const QString &path, const Item &item, int seed)
{
    if (item.frames > 1)
        return writeGif(path, item.size, item.frames);
    return photoLike(item.size, seed).save(path, nullptr, 90);
}

QVector<Item> items(bool quick)
{
    QVector<Item> list;
    const int jpegs = quick ? 4 : 24;
    const int pngs = quick ? 2 : 8;
    const int gifs = quick ? 1 : 2;
    for (int i = 0; i < jpegs; ++i)
        list.push_back({QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                        quick ? QSize(2000, 1500) : QSize(4000, 3000), 1});
    for (int i = 0; i < pngs; ++i)
        list.push_back(
            {QStringLiteral("picture%1.png").arg(i), quick ? QSize(1500, 1000) : QSize(3000, 2000), 1});
    for (int i = 0; i < gifs; ++i)
        list.push_back({QStringLiteral("anim%1.gif").arg(i), QSize(480, 360), 6});
    return list;
}

} // namespace

QStringList ensure(const QString &folder, bool quick)
{
    QDir().mkpath(folder);
    const QVector<Item> list = items(quick);
    QStringList paths;
    QVector<int> missing;
    for (int i = 0; i < list.size(); ++i) {
        paths << QDir(folder).filePath(list[i].name);
        if (!QFile::exists(paths.last()))
            missing << i;
    }
    QtConcurrent::blockingMap(missing, [&](int i) {
        const QString temporary = paths[i] + QStringLiteral(".part");
        // The format comes from the real name, the rename makes a half-written file impossible.
        if (write(temporary + QStringLiteral(".") + QFileInfo(paths[i]).suffix(), list[i], i))
            QFile::rename(temporary + QStringLiteral(".") + QFileInfo(paths[i]).suffix(), paths[i]);
    });
    return paths;
}

} // namespace BenchCorpus
