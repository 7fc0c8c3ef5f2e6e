#pragma once

#include <QWidget>

class MainWindow;

namespace Ui {
class InitialWidget;
}

// The first screen, shown while the queue is empty; drops on it are handled by the main window's filter.
class InitialWidget : public QWidget
{
    Q_OBJECT

public:
    InitialWidget(MainWindow *mainWindow, QWidget *parent);
    ~InitialWidget() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui::InitialWidget *ui;
};
