#include "benchcorpus.h"

#include <Magick++.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtConcurrent>
#include <algorithm>
#include <list>

namespace BenchCorpus {

namespace {

const int animationFrames = 12;

// Smooth shapes under grain: what makes real photos cost what they cost in an encoder. Without grain, the
// picture stands for photos of soft light, shot at low sensitivity or already smoothed by a phone.
QImage photoLike(const QSize &size, int seed, bool grain = true)
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
    for (int y = 0; grain && y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(random.bounded(23)) - 11;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    return image;
}

// Frames of one colour theme that drift, as in a short clip; Qt cannot write GIF, the image library can.
bool writeAnimation(const QString &path, const QSize &size, int seed)
{
    std::list<Magick::Image> frames;
    for (int i = 0; i < animationFrames; ++i) {
        const QImage frame =
            photoLike(size, seed * animationFrames + i).convertToFormat(QImage::Format_RGB888);
        QByteArray packed;
        // Qt pads every scan line to 4 bytes; the image library wants the pixels packed.
        for (int y = 0; y < frame.height(); ++y)
            packed.append(reinterpret_cast<const char *>(frame.constScanLine(y)), frame.width() * 3);
        frames.emplace_back(size_t(size.width()), size_t(size.height()), "RGB", Magick::CharPixel,
                            packed.constData());
        frames.back().animationDelay(10);
        frames.back().magick("GIF");
    }
    try {
        Magick::writeImages(frames.begin(), frames.end(), path.toStdString(), true);
    } catch (const Magick::Exception &) {
        return false;
    }
    return true;
}

bool write(const QString &path, const QSize &size, int seed)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("gif"))
        return writeAnimation(path, size, seed);
    const bool grain = !QFileInfo(path).fileName().startsWith(QLatin1String("smooth"));
    return photoLike(size, seed, grain).save(path, nullptr, suffix == QLatin1String("jpg") ? 92 : -1);
}

// Files that exist are kept: the corpus is the same from run to run and made only once. The rename makes
// a half-written file impossible; the temporary name keeps the suffix that tells the writer the format.
QStringList ensure(const QString &folder, const QString &pattern, int count, const QSize &size)
{
    QDir().mkpath(folder);
    QStringList paths;
    QVector<int> missing;
    for (int i = 0; i < count; ++i) {
        paths << QDir(folder).filePath(pattern.arg(i, 5, 10, QLatin1Char('0')));
        if (!QFile::exists(paths.last()))
            missing << i;
    }
    QtConcurrent::blockingMap(missing, [&](int i) {
        const QString temporary = paths[i] + QStringLiteral(".part.") + QFileInfo(paths[i]).suffix();
        if (write(temporary, size, i))
            QFile::rename(temporary, paths[i]);
    });
    const bool complete =
        std::all_of(paths.begin(), paths.end(), [](const QString &path) { return QFile::exists(path); });
    return complete ? paths : QStringList();
}

} // namespace

QStringList photos(const QString &folder, int count, const QSize &size)
{
    return ensure(folder, QStringLiteral("photo%1.jpg"), count, size);
}

QStringList smoothPhotos(const QString &folder, int count, const QSize &size)
{
    return ensure(folder, QStringLiteral("smooth%1.jpg"), count, size);
}

QStringList stillsAndAnimations(const QString &folder, int stills, const QSize &stillSize, int animations)
{
    const QStringList pngs = ensure(folder, QStringLiteral("still%1.png"), stills, stillSize);
    const QStringList gifs = ensure(folder, QStringLiteral("clip%1.gif"), animations, QSize(640, 480));
    return pngs.isEmpty() || gifs.isEmpty() ? QStringList() : pngs + gifs;
}

QStringList smallImages(const QString &folder, int count)
{
    return ensure(folder, QStringLiteral("small%1.jpg"), count, QSize(64, 48));
}

} // namespace BenchCorpus
