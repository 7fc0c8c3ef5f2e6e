#include "csettings.h"
#include "mainwindow.h"
#include "singleinstance.h"

#include <Magick++.h>
#include <QApplication>
#include <QFileInfo>
#include <stdexcept>

namespace {

// The running window has a working folder of its own, so relative paths would name other files there.
QStringList absolutePaths(const QStringList &arguments)
{
    QStringList paths;
    for (const QString &argument : arguments)
        paths.append(QFileInfo(argument).absoluteFilePath());
    return paths;
}

} // namespace

int main(int argc, char *argv[])
{
    Magick::InitializeMagick(argv[0]);
    int exitCode = -1;
    QApplication app(argc, argv);
    // First: the arguments are file names in the locale's encoding.
    prepareApplication(app);
    const QStringList paths = absolutePaths(app.arguments().mid(1));
    SingleInstance instance;
    // Again after a failed listen: another start may have begun listening since the first try.
    if (instance.handOver(paths) || (!instance.listen() && instance.handOver(paths)))
        return 0;
    CSettings settings(QStringLiteral("Settings.ini"));
    try {
        // No event is handled before the connection below, so nothing handed over meanwhile is lost.
        MainWindow window(&settings);
        QObject::connect(&instance, &SingleInstance::pathsReceived, &window, &MainWindow::takeHandedPaths);
        window.show();
        window.queuePaths(paths);
        exitCode = app.exec();
    } catch (const Magick::Exception &e) {
        showErrorMessage(QString::fromLocal8Bit(e.what()));
    } catch (const std::runtime_error &e) {
        showErrorMessage(QString::fromLocal8Bit(e.what()));
    }
    return exitCode;
}
