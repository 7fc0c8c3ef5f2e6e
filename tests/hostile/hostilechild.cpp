// Resizes the sources given after the output folder into it, and prints each written file as it comes, so
// that a test can kill the run at a known point. A folder among the sources stands for the files in it, as
// this process's locale names them, with file names taken as the program takes them.
#include "BrindleCore.h"
#include "csettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    followLocaleFileNames();
    QStringList arguments = application.arguments().mid(1);
    if (arguments.size() < 2)
        return 2;
    CImagesResizer resizer;
    resizer.setOutputFolder(arguments.takeFirst());
    resizer.setSize(QSize(320, 240));
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::UseHeight);
    QVector<CImageInfo> images;
    for (const QString &path : qAsConst(arguments)) {
        const QStringList files = QDir(path).entryList(QDir::Files);
        if (files.isEmpty())
            images.append(CImageInfo(path));
        for (const QString &file : files)
            images.append(CImageInfo(QDir(path).filePath(file)));
    }
    QObject::connect(&resizer, &CImagesResizer::imageResized, [](const QString &, const QString &newPath) {
        std::printf("%s\n", newPath.toUtf8().constData());
        std::fflush(stdout);
    });
    QObject::connect(&resizer, &CImagesResizer::resizeFinished, &application, &QCoreApplication::quit);
    resizer.resizeImages(images);
    return application.exec();
}
