#pragma once

#include "cimagesmodel.h"
#include "mainwindow.h"
#include "modalanswer.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

// What the shell tests share around the program's window. Header only, since each test is one source.
namespace ShellWindow {

// Copies the build's translations next to the test program, where the program looks for them.
inline bool placeTranslations()
{
    const QDir shipped(QStringLiteral(BRINDLE_BIN_DIR "/Translations"));
    const QString here = QCoreApplication::applicationDirPath() + QStringLiteral("/Translations/");
    QDir(here).removeRecursively();
    bool placed = QDir().mkpath(here) && !shipped.isEmpty();
    for (const QString &name : shipped.entryList(QDir::Files))
        placed = QFile::copy(shipped.filePath(name), here + name) && placed;
    return placed;
}

// The splash stays three seconds; it is closed as soon as it is up.
inline void show(MainWindow *window)
{
    TestModal::answer([](QWidget *modal) {
        if (!modal->inherits("StartSplash"))
            return false;
        modal->close();
        return true;
    });
    window->show();
}

inline CImagesModel *queue(const MainWindow *window)
{
    return qobject_cast<CImagesModel *>(
        window->findChild<QTableView *>(QStringLiteral("tvImagesQueue"))->model());
}

// Hands the paths over as start arguments; false when their opening did not end.
inline bool queueAndWait(MainWindow *window, const QStringList &paths)
{
    QSignalSpy opening(queue(window), &CImagesModel::imagesIsOpening);
    window->queuePaths(paths);
    return QTest::qWaitFor([&] { return opening.count() == 2; });
}

} // namespace ShellWindow
