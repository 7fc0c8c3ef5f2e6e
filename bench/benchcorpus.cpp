#include "benchcorpus.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtConcurrent>
#include <algorithm>

namespace BenchCorpus {

namespace {

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
            const int grain = int(random.bounded(23)) - 11;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    return image;
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
        const QString temporary = paths[i] + QStringLiteral(".part.jpg");
        if (photoLike(size, i).save(temporary, "JPEG", 92))
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

QStringList smallImages(const QString &folder, int count)
{
    return ensure(folder, QStringLiteral("small%1.jpg"), count, QSize(64, 48));
}

} // namespace BenchCorpus
