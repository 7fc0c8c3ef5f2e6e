#pragma once

#include <QDialog>

namespace Ui {
class ResizeFinishedDialog;
}

// Tells that a run is complete; accepted means the user asked to open the output folder.
class ResizeFinishedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ResizeFinishedDialog(QWidget *parent);
    ~ResizeFinishedDialog() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui::ResizeFinishedDialog *ui;
};
