#pragma once

#include <QString>
#include <QStringList>

class CSettings;
class QWidget;

// The program's file dialogs, all starting where the user last chose something in any of them and
// remembering the new choice in the settings, so that one photo folder is found again from every dialog.
namespace FileDialogs {

// The chosen image files, or an empty list when the dialog was cancelled.
QStringList chooseImages(QWidget *parent, CSettings *settings, const QString &caption, const QString &filter);
// The chosen folder, or a null string when the dialog was cancelled.
QString chooseFolder(QWidget *parent, CSettings *settings, const QString &caption);

} // namespace FileDialogs
