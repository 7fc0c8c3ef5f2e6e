#include "csettings.h"
#include "mainwindow.h"
#include "testimages.h"

#include <Magick++.h>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <functional>

namespace {

QString outputFolder;

void save(QWidget *window, const QString &name)
{
    window->grab().save(outputFolder + QLatin1Char('/') + name);
}

// Polls instead of waiting a fixed time, since how long opening and resizing take depends on the machine.
void when(const std::function<bool()> &ready, const std::function<void()> &then)
{
    if (ready()) {
        then();
        return;
    }
    QTimer::singleShot(20, [ready, then] { when(ready, then); });
}

void drop(QWidget *target, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::LinkAction, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent dropEvent(QPoint(5, 5), Qt::LinkAction, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropEvent);
}

void closeSplashes()
{
    QTimer::singleShot(50, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->inherits("StartSplash"))
            modal->close();
        else
            closeSplashes();
    });
}

void acceptConfirmation()
{
    QTimer::singleShot(50, [] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *accept = modal ? modal->findChild<QPushButton *>(QStringLiteral("pbAccept")) : nullptr;
        if (accept)
            accept->click();
        else
            acceptConfirmation();
    });
}

} // namespace

// Usage: BrindleScreenshots <output folder>. Saves the first screen, the resize screen with a queue, a run in
// progress and the settings panel as PNG files.
int main(int argc, char *argv[])
{
    Magick::InitializeMagick(argv[0]);
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    outputFolder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    CSettings settings(QStringLiteral("Settings.ini"));
    settings.setLanguage(QStringLiteral("en_US"));
    prepareApplication(app);

    QStringList photos;
    for (int i = 0; i < 24; ++i)
        photos.append(TestImages::write(
            work.filePath(QStringLiteral("holiday_%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0'))),
            QSize(3000, 2000), nullptr, i));

    MainWindow window(&settings);
    closeSplashes();
    window.show();
    save(&window, QStringLiteral("first-screen.png"));

    auto *stack = window.findChild<QWidget *>(QStringLiteral("wMain"));
    drop(window.findChild<QWidget *>(QStringLiteral("lblDropFiles")), photos);
    auto *resize = window.findChild<QPushButton *>(QStringLiteral("pbResize"));
    auto *progress = window.findChild<QProgressBar *>(QStringLiteral("pbrResizeProgress"));
    when([&] { return window.isEnabled() && stack->property("currentIndex").toInt() == 1; },
         [&] {
             save(&window, QStringLiteral("resize-screen.png"));
             acceptConfirmation();
             QTimer::singleShot(0, resize, &QPushButton::click);
             when([&] { return progress->value() >= 3; },
                  [&] {
                      save(&window, QStringLiteral("run.png"));
                      when(
                          [] {
                              QWidget *modal = QApplication::activeModalWidget();
                              return modal && modal->inherits("ResizeFinishedDialog");
                          },
                          [&] {
                              QApplication::activeModalWidget()->close();
                              window.findChild<QPushButton *>(QStringLiteral("pbSettings"))->click();
                              QTimer::singleShot(600, [&] {
                                  save(&window, QStringLiteral("settings.png"));
                                  app.quit();
                              });
                          });
                  });
         });
    return app.exec();
}
