// Draws every picture of the resource bundle into the folder given as first argument.
// With "--sheet file.png" it also lays all of them out on one contact sheet for review.

#include "catalogue.h"
#include "picturefiles.h"

#include <Magick++.h>

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

namespace {

void drawSheet(const QVector<Still> &stills, const QString &path)
{
    const int columns = 6;
    const QSize cell(260, 150);
    QVector<const Still *> small;
    QVector<const Still *> large;
    for (const Still &still : stills)
        (still.image.width() > cell.width() - 10 ? large : small).append(&still);
    int height = (small.size() + columns - 1) / columns * cell.height();
    for (const Still *still : large)
        height += still->image.height() + 30;
    QImage sheet(columns * cell.width(), height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xc8, 0xc8, 0xc8));
    QPainter painter(&sheet);
    auto label = [&](const QPoint &at, const Still &still) {
        painter.setPen(Qt::black);
        painter.drawText(
            at,
            QStringLiteral("%1  %2x%3").arg(still.name).arg(still.image.width()).arg(still.image.height()));
    };
    for (int i = 0; i < small.size(); ++i) {
        const QPoint origin(i % columns * cell.width(), i / columns * cell.height());
        const QImage &image = small.at(i)->image;
        const int scale = image.width() <= 50 ? 3 : 1;
        const QRect target(origin + QPoint(8, 8), image.size() * scale);
        painter.fillRect(target.adjusted(-2, -2, 2, 2), QColor(250, 245, 237));
        painter.drawImage(target, image);
        label(origin + QPoint(8, cell.height() - 10), *small.at(i));
    }
    int y = (small.size() + columns - 1) / columns * cell.height();
    for (const Still *still : large) {
        painter.drawImage(QPoint(8, y + 4), still->image);
        label(QPoint(still->image.width() + 20, y + 20), *still);
        y += still->image.height() + 30;
    }
    painter.end();
    sheet.save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    Magick::InitializeMagick(argv[0]);
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        err << "usage: artworkdrawer OUTPUT_FOLDER [--sheet SHEET.png]\n";
        return 2;
    }
    const QDir out(args.first());
    if (!out.mkpath(QStringLiteral("."))) {
        err << "cannot make " << QDir::toNativeSeparators(out.path()) << '\n';
        return 1;
    }
    const QVector<Still> stills = Catalogue::stills();
    QStringList failed;
    for (const Still &still : stills) {
        if (!PictureFiles::writePng(still.image, out.filePath(still.name)))
            failed << still.name;
    }
    const QString ico = QStringLiteral("AppIconBrindle256.ico");
    if (!PictureFiles::writeIco(Catalogue::applicationIconSizes(), out.filePath(ico)))
        failed << ico;
    for (const Animation &animation : Catalogue::animations()) {
        if (!PictureFiles::writeGif(animation.frames, animation.delayCentiseconds,
                                    out.filePath(animation.name)))
            failed << animation.name;
    }
    const int sheetAt = args.indexOf(QStringLiteral("--sheet"));
    if (sheetAt > 0 && sheetAt + 1 < args.size())
        drawSheet(stills, args.at(sheetAt + 1));
    if (!failed.isEmpty()) {
        err << "could not write: " << failed.join(QStringLiteral(", ")) << '\n';
        return 1;
    }
    QTextStream(stdout) << stills.size() + 3 << " pictures in "
                        << QDir::toNativeSeparators(out.absolutePath()) << '\n';
    return 0;
}
