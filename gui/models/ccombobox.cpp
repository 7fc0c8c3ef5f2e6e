#include "ccombobox.h"

#include <QFrame>

CComboBox::CComboBox(QWidget *parent)
    : QComboBox(parent)
{
}

void CComboBox::showPopup()
{
    QComboBox::showPopup();
    // The style places the list over the box so that the current entry sits on it; put it below instead.
    if (QFrame *popup = findChild<QFrame *>())
        popup->move(mapToGlobal(QPoint(0, height())));
}
