#pragma once

#include "ccombobox.h"

// Shows the current profile's size at the right edge of the closed box.
class CProfilesComboBox : public CComboBox
{
    Q_OBJECT

public:
    explicit CProfilesComboBox(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
