#pragma once

#include <QDialog>

namespace Ui {
class ResizeQueueDialog;
}

// Asks whether to resize the queue; accepted means the green button was pressed.
class ResizeQueueDialog : public QDialog
{
    Q_OBJECT

public:
    ResizeQueueDialog(const QString &text, QWidget *parent);
    ~ResizeQueueDialog() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui::ResizeQueueDialog *ui;
};
