#include "cprofilescombobox.h"

#include "paintprofilesize.h"

#include <QPainter>

CProfilesComboBox::CProfilesComboBox(QWidget *parent)
    : CComboBox(parent)
{
}

void CProfilesComboBox::paintEvent(QPaintEvent *event)
{
    QComboBox::paintEvent(event);
    if (!model())
        return;
    QPainter painter(this);
    paintProfileSize(&painter, rect(), 55, model()->index(currentIndex(), 0, rootModelIndex()), "#a597b5");
}
