#include "csettings.h"
#include "mainwindow.h"

#include <Magick++.h>
#include <QApplication>
#include <stdexcept>

int main(int argc, char *argv[])
{
    Magick::InitializeMagick(argv[0]);
    int exitCode = -1;
    QApplication app(argc, argv);
    CSettings settings(QStringLiteral("Settings.ini"));
    prepareApplication(app);
    try {
        MainWindow window(&settings);
        window.show();
        exitCode = app.exec();
    } catch (const Magick::Exception &e) {
        showErrorMessage(QString::fromLocal8Bit(e.what()));
    } catch (const std::runtime_error &e) {
        showErrorMessage(QString::fromLocal8Bit(e.what()));
    }
    return exitCode;
}
