#pragma once

#include <QDialog>

class QMovie;

namespace Ui {
class StartSplash;
}

// The card shown alone on the screen while the program starts; it closes itself after displayTime ms.
class StartSplash : public QDialog
{
    Q_OBJECT

public:
    explicit StartSplash(int displayTime, QWidget *parent = nullptr);
    ~StartSplash() override;

    int exec() override;

private:
    Ui::StartSplash *ui;
    int displayTime;
    QMovie *movie;
};
