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

    Ui::MainWindow *ui;
    CImagesModel imagesModel;
    LoadingWindow loadingWindow;
    SettingsWindow *settingsWindow = nullptr;
    QPoint dragOffset;
    ResizeWidget *resizeWidget = nullptr;
    bool dragging = false;
    bool imagesOpening = false;
    bool splashShown = false;
};
