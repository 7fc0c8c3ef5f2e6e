#pragma once

#include "cimagesmodel.h"
#include "loadingwindow.h"

#include <QPoint>
#include <QStringList>
#include <QWidget>

class CSettings;
class QFrame;
class ResizeWidget;
class SettingsWindow;

namespace Ui {
class MainWindow;
}

// The program's one top-level window: a frameless panel that queues what is added or dropped on it and shows
// the first screen while the queue is empty, the resize screen otherwise.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(CSettings *settings, QWidget *parent = nullptr);
    ~MainWindow() override;

    static QStringList listFolderFiles(const QString &folder);

public slots:
    // Queues files and folders as a drop does; while a run or an opening goes on they wait for its end.
    void queuePaths(const QStringList &paths);
    // Files a later start of the program handed over: queued, and the window comes to the front.
    void takeHandedPaths(const QStringList &paths);
    void addImages();
    void addFolder();
    void onRowsCountChanged(int rowCount);
    void onImagesIsOpening(bool isOpening);
    void onLastFolderClicked();
    void showSettings();
    void help();
    void tamarind();
    void onResizeStatusChanged(bool isResizing);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void acceptDropsEverywhere();
    void createSettingsPanel(CSettings *settings);
    bool dropsRefused() const;
    QStringList droppedPaths(const QDropEvent *event) const;
    void showLeftOut(const QStringList &files);
    void queueWaitingPaths();

    Ui::MainWindow *ui;
    CImagesModel imagesModel;
    LoadingWindow loadingWindow;
    SettingsWindow *settingsWindow = nullptr;
    QPoint dragOffset;
    ResizeWidget *resizeWidget = nullptr;
    CSettings *settings;
    QStringList waitingPaths;
    bool dragging = false;
    bool splashShown = false;
};
