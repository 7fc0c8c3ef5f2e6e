#include "imagedescription.h"

#include "BrindleCore.h"

#include <QTextOption>

namespace {
QString descriptionMarkup(const QString &name, const QString &details)
{
    return "<span style=\"color:#666666;font-size: 13px;\">" + name + "<br>" +
           "<span style=\"color:#744ea7\">" + details + "</span></span>";
}
} // namespace

QStaticText imageDescription(const CImageInfo &info, int width)
{
    QString name = info.fileName();
    const QString details =
        QString("[%1, %2, %3 MB]").arg(info.extension(), info.getResolutionString(), info.getSizeString());
    const QString fullMarkup = descriptionMarkup(name, details);

    QStaticText text;
    text.setTextFormat(Qt::RichText);
    text.setTextWidth(width);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    text.setTextOption(option);
    text.setText(fullMarkup);
    // An empty name ends the loop: the details line alone may be wider than the cell.
    while (width < text.size().width() && !name.isEmpty()) {
        name.chop(1);
        text.setText(descriptionMarkup(name, details));
    }
    if (text.text() != fullMarkup) {
        name.chop(3);
        text.setText(descriptionMarkup(name + "...", details));
    }
    return text;
}
