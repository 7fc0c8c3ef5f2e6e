#pragma once

#include <QDialog>

class QMovie;

namespace Ui {
class LoadingWindow;
}

// The animated busy overlay shown while the queue opens images.
class LoadingWindow : public QDialog
{
    Q_OBJECT

public:
    LoadingWindow(QWidget *parent, Qt::WindowFlags flags);
    ~LoadingWindow() override;

private:
    Ui::LoadingWindow *ui;
    QMovie *movie;
};
