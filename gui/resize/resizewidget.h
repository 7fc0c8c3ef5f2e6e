#pragma once

#include "BrindleCore.h"
#include "coutputmodesmodel.h"
#include "cprofilesmodel.h"

#include <QModelIndex>
#include <QWidget>

class CImagesModel;
class CSettings;
class QCheckBox;
class QFrame;
class QPushButton;

namespace Ui {
class ResizeWidget;
}

// The screen that holds the queue table and the parameters, drives the engine and shows a run's progress.
class ResizeWidget : public QWidget
{
    Q_OBJECT

public:
    ResizeWidget(CSettings *settings, CImagesModel *imagesModel, QWidget *parent);
    ~ResizeWidget() override;

    bool isResizing() const;

    // A duration as hours, minutes and seconds of two digits at least; milliseconds are dropped.
    static QString timeText(uint msecs);

public slots:
    // Brings the estimate in line with the output choices stored since; a run reads them when it starts.
    void followSettings();

signals:
    void resizeStatusChanged(bool isResizing);

private slots:
    void onCurrentProfileChanged(int profileIndex);
    void onResizeStarted();
    void onResizeFinished();
    void onCancelClicked();
    void onResizeCanceled();
    void onResizeTimeElapsed(uint msecs);
    void onResizeSpeedChanged(uint speed);
    void onRemainingTimeChanged(uint remainingTime);
    void onOutputModeChanged(int mode);
    void onRowsCountChanged(int rowsCount);
    void onRowsInserted(QModelIndex index, int start, int end);
    void onResizeClicked();
    void onImageResized(QString newPath, int row);
    void onWidthOrHeightChanged();
    void onResizeProgressChanged(int value);
    void onImageDeleteClicked();
    void onImageFolderClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void updateEvaluation();
    void applyOutputChoices();
    void updateVerticalRecognition();
    void fillSizeFromProfile(int row);
    QString buttonStyleSheet(const QString &normal, const QString &hover, const QString &pressed) const;
    QPushButton *createOpenFolderButton(const QString &path);
    QPushButton *createDeleteButton(const QString &path);
    QPushButton *createRowButton(const QString &path, const QString &picture);
    void updateResizedCount(int value);

    void onSideBoxToggled(bool checked, QCheckBox *other, QWidget *field);
    void restoreOutputMode(const QString &prefix);
    void resetOutputMode();
    void useUserDir(const QString &folder);
    QString subFolderName() const;
    void updateQueueTexts(int rowsCount);
    void leaveRunView();
    void lockQueue(bool locked);
    void openFolderOf(const QString &path);
    void showError(const QString &text);

    Ui::ResizeWidget *ui;
    CImagesResizer resizer;
    CProfilesModel profilesModel;
    COutputModesModel outputModesModel;
    CImagesModel *imagesModel;
    CSettings *settings;
    QFrame *parametersShadow;
};
