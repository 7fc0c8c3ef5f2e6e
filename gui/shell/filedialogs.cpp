#include "filedialogs.h"

#include "csettings.h"

#include <QFileDialog>
#include <QFileInfo>

namespace FileDialogs {

QStringList chooseImages(QWidget *parent, CSettings *settings, const QString &caption, const QString &filter)
{
    const QStringList files =
        QFileDialog::getOpenFileNames(parent, caption, settings->dialogFolder(), filter);
    if (!files.isEmpty())
        settings->setDialogFolder(QFileInfo(files.first()).absolutePath());
    return files;
}

QString chooseFolder(QWidget *parent, CSettings *settings, const QString &caption)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, caption, settings->dialogFolder(),
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isNull())
        settings->setDialogFolder(folder);
    return folder;
}

} // namespace FileDialogs
