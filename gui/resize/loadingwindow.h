#pragma once

#include <QDialog>

class QMovie;

namespace Ui {
class LoadingWindow;
}

// The animated busy overlay shown while the queue opens images: how many are open so far, and a button that
// gives up the opening.
class LoadingWindow : public QDialog
{
    Q_OBJECT

public:
    LoadingWindow(QWidget *parent, Qt::WindowFlags flags);
    ~LoadingWindow() override;

public slots:
    void setProgress(int done, int total);

signals:
    void cancelRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showProgress();

    Ui::LoadingWindow *ui;
    QMovie *movie;
    int done = 0;
    int total = 0;
};
