#pragma once

#include <QComboBox>

// A combo box whose open list always starts at its bottom-left corner, whatever the current entry.
class CComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CComboBox(QWidget *parent = nullptr);

    void showPopup() override;
};
