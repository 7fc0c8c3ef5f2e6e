#include "resizewidget.h"
#include "ui_resizewidget.h"

#include "cimagesmodel.h"
#include "cimagestabledelegate.h"
#include "cprofilesdelegate.h"
#include "csettings.h"
#include "filedialogs.h"
#include "resizefinisheddialog.h"
#include "resizequeuedialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QUrl>

#include <stdexcept>

ResizeWidget::ResizeWidget(CSettings *settings, CImagesModel *imagesModel, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::ResizeWidget)
    , resizer(nullptr)
    , profilesModel(QCoreApplication::applicationDirPath() + QStringLiteral("/Profiles"))
    , outputModesModel(nullptr)
    , imagesModel(imagesModel)
    , settings(settings)
    , parametersShadow(nullptr)
{
    ui->setupUi(this);

    connect(&resizer, &CImagesResizer::resizeElapsed, this, &ResizeWidget::onResizeTimeElapsed);
    connect(&resizer, &CImagesResizer::speedChanged, this, &ResizeWidget::onResizeSpeedChanged);
    connect(&resizer, &CImagesResizer::remainingTimeChanged, this, &ResizeWidget::onRemainingTimeChanged);
    connect(&resizer, &CImagesResizer::progressValueChanged, this, &ResizeWidget::onResizeProgressChanged);
    connect(&resizer, &CImagesResizer::resizeStarted, this, &ResizeWidget::onResizeStarted);
    connect(&resizer, &CImagesResizer::resizeFinished, this, &ResizeWidget::onResizeFinished);
    connect(&resizer, &CImagesResizer::resizeCanceled, this, &ResizeWidget::onResizeCanceled);
    connect(ui->cbProfiles, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ResizeWidget::onCurrentProfileChanged);
    connect(ui->pbResize, &QPushButton::clicked, this, &ResizeWidget::onResizeClicked);
    connect(ui->pbCancelResize, &QPushButton::clicked, this, &ResizeWidget::onCancelClicked);
    connect(ui->pbPauseResize, &QPushButton::toggled, &resizer, &CImagesResizer::setPause);
    connect(ui->leWidth, &QLineEdit::textEdited, this, &ResizeWidget::onWidthOrHeightChanged);
    connect(ui->leHeight, &QLineEdit::textEdited, this, &ResizeWidget::onWidthOrHeightChanged);
    connect(ui->cbOutputModes, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ResizeWidget::onOutputModeChanged);
    connect(imagesModel, &CImagesModel::rowsInserted, this, &ResizeWidget::onRowsInserted);
    connect(imagesModel, &CImagesModel::rowsCountChanged, this, &ResizeWidget::onRowsCountChanged);
    connect(imagesModel, &CImagesModel::imageResized, this, &ResizeWidget::onImageResized);
    connect(ui->pbClearQueue, &QPushButton::clicked, imagesModel, &CImagesModel::clear);
    connect(&resizer, &CImagesResizer::imageResized, imagesModel, &CImagesModel::setImageResized);

    parametersShadow = new QFrame(ui->wImagesParameters);
    parametersShadow->setObjectName(QStringLiteral("wParametersShadow"));
    parametersShadow->setGeometry(QRect(QPoint(0, 0), ui->wImagesParameters->size()));
    parametersShadow->setStyleSheet(
        QStringLiteral("#wParametersShadow{background-color: rgba(217, 213, 205, 0.6)}"));
    parametersShadow->hide();

    ui->cbProfiles->setModel(&profilesModel);
    ui->cbProfiles->setItemDelegate(new CProfilesDelegate(ui->cbProfiles->view(), ui->cbProfiles->view()));
    ui->cbProfiles->setMaxVisibleItems(6);

    ui->cbOutputModes->setModel(&outputModesModel);
    ui->cbOutputModes->setItemDelegate(new QStyledItemDelegate(ui->cbOutputModes));
    restoreOutputMode(settings->prefix());

    ui->pbrResizeProgress->setMinimum(0);

    ui->tvImagesQueue->setModel(imagesModel);
    ui->tvImagesQueue->setItemDelegate(new CImagesTableDelegate(ui->tvImagesQueue));
    QHeaderView *horizontal = ui->tvImagesQueue->horizontalHeader();
    horizontal->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontal->setSectionResizeMode(1, QHeaderView::Stretch);
    horizontal->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    ui->tvImagesQueue->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    connect(ui->cbWidth, &QCheckBox::toggled, this,
            [this](bool checked) { onSideBoxToggled(checked, ui->cbHeight, ui->leWidth); });
    connect(ui->cbHeight, &QCheckBox::toggled, this,
            [this](bool checked) { onSideBoxToggled(checked, ui->cbWidth, ui->leHeight); });
    connect(ui->cbOriginalAspectRatio, &QCheckBox::toggled, this, [this] {
        updateVerticalRecognition();
        updateEvaluation();
    });
    connect(ui->cbVeiar, &QCheckBox::toggled, this, &ResizeWidget::updateEvaluation);

    fillSizeFromProfile(ui->cbProfiles->currentIndex());
}

ResizeWidget::~ResizeWidget()
{
    delete ui;
}

bool ResizeWidget::isResizing() const
{
    return resizer.isRunning();
}

QString ResizeWidget::timeText(uint msecs)
{
    // Not QTime: a run of a day or more is no time of day and would give an empty text.
    const uint seconds = msecs / 1000;
    const QChar zero(QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, zero)
        .arg(seconds / 60 % 60, 2, 10, zero)
        .arg(seconds % 60, 2, 10, zero);
}

void ResizeWidget::onCurrentProfileChanged(int profileIndex)
{
    if (profilesModel.profileAt(profileIndex) != Profile())
        fillSizeFromProfile(profileIndex);
    updateEvaluation();
}

void ResizeWidget::onResizeStarted()
{
    ui->wMainSettings->setEnabled(false);
    lockQueue(true);
    updateResizedCount(0);
    ui->swResize->setCurrentIndex(1);
    parametersShadow->show();
    emit resizeStatusChanged(true);
}

void ResizeWidget::onResizeFinished()
{
    if (ui->wMainSettings->isEnabled()) {
        // Only a cancelled run gets here; the engine knows the failure by now if an image caused it.
        const QString failure = resizer.lastError();
        if (!failure.isEmpty())
            showError(tr("e_image_failed %1").arg(failure));
        return;
    }
    imagesModel->clear();
    leaveRunView();

    ResizeFinishedDialog dialog(this);
    dialog.exec();
    if (dialog.result() == QDialog::Accepted)
        openFolderOf(imagesModel->lastResizedPath());
}

// Asks the engine without waiting for the images in flight, which can take seconds to let go of a big
// picture; the run view stays, saying so, until the engine reports the end.
void ResizeWidget::onCancelClicked()
{
    resizer.cancel();
    ui->pbPauseResize->setEnabled(false);
    ui->pbCancelResize->setEnabled(false);
    ui->lblResizeCount->setText(tr("t_stopping"));
}

void ResizeWidget::onResizeCanceled()
{
    imagesModel->resetResizedStates();
    leaveRunView();
    const QVector<CImageInfo> images = imagesModel->images();
    for (int row = 0; row < images.size(); ++row)
        ui->tvImagesQueue->setIndexWidget(imagesModel->index(row, 2),
                                          createDeleteButton(images.at(row).fullPath()));
}

void ResizeWidget::onResizeTimeElapsed(uint msecs)
{
    ui->lblElapsedTime->setText(tr("t_elapsed_time %1").arg(timeText(msecs)));
}

void ResizeWidget::onResizeSpeedChanged(uint speed)
{
    ui->lblSpeed->setText(tr("t_speed %1").arg(speed));
}

void ResizeWidget::onRemainingTimeChanged(uint remainingTime)
{
    ui->lblRemainingTime->setText(tr("t_time_remaining %1").arg(timeText(remainingTime)));
}

void ResizeWidget::onOutputModeChanged(int mode)
{
    resetOutputMode();

    switch (mode) {
    case COutputModesModel::SameFolderWithPrefix:
        resizer.setSameFolderForNewImages(true);
        resizer.setPrefixForResizedImages(QStringLiteral("mini_"));
        break;
    case COutputModesModel::SubFolder:
        resizer.setSameFolderForNewImages(true);
        resizer.setOutputFolder(subFolderName());
        break;
    case COutputModesModel::UserDir: {
        const QString folder = FileDialogs::chooseFolder(this, settings, tr("t_choose_output_dir"));
        if (folder.isNull())
            ui->cbOutputModes->setCurrentIndex(COutputModesModel::SameFolderWithPrefix);
        else
            useUserDir(folder);
        break;
    }
    default:
        break;
    }
}

void ResizeWidget::onRowsCountChanged(int rowsCount)
{
    updateQueueTexts(rowsCount);
    ui->tvImagesQueue->setEnabled(rowsCount != 0);
    updateEvaluation();
}

void ResizeWidget::onRowsInserted(QModelIndex index, int start, int end)
{
    Q_UNUSED(index)
    for (int row = start; row <= end; ++row) {
        const CImageInfo info = imagesModel->index(row, 1).data(Qt::UserRole).value<CImageInfo>();
        ui->tvImagesQueue->setIndexWidget(imagesModel->index(row, 2), createDeleteButton(info.fullPath()));
    }
}

void ResizeWidget::onResizeClicked()
{
    const QVector<CImageInfo> images = imagesModel->images();
    ResizeQueueDialog dialog(tr("t_resize_question %1").arg(images.size()), this);
    dialog.exec();
    if (dialog.result() != QDialog::Accepted)
        return;

    ui->pbrResizeProgress->setMaximum(imagesModel->images().size());
    applyOutputChoices();
    try {
        resizer.resizeImages(imagesModel->images());
    } catch (const std::runtime_error &error) {
        showError(tr("e_run_refused %1").arg(QString::fromLocal8Bit(error.what())));
    }
}

void ResizeWidget::onImageResized(QString newPath, int row)
{
    // A row deleted while its image was being resized has no cell left to mark.
    if (row < 0 || row >= imagesModel->rowCount())
        return;
    ui->tvImagesQueue->setIndexWidget(imagesModel->index(row, 2), createOpenFolderButton(newPath));
    repaint();
}

void ResizeWidget::onWidthOrHeightChanged()
{
    const int manual = profilesModel.manualProfileIndex();
    if (ui->cbProfiles->currentIndex() == manual)
        updateEvaluation();
    else
        ui->cbProfiles->setCurrentIndex(manual);
}

void ResizeWidget::onResizeProgressChanged(int value)
{
    ui->pbrResizeProgress->setValue(value);
    updateResizedCount(value);
}

void ResizeWidget::onImageDeleteClicked()
{
    imagesModel->removeImage(sender()->objectName());
}

void ResizeWidget::onImageFolderClicked()
{
    const QString path = sender()->objectName();
    if (!path.isEmpty())
        openFolderOf(path);
}

void ResizeWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        outputModesModel.retranslate();
        updateQueueTexts(imagesModel->rowCount());
        updateEvaluation();
    }
    QWidget::changeEvent(event);
}

void ResizeWidget::updateEvaluation()
{
    applyOutputChoices();
    const int height = ui->leHeight->text().toInt();
    const int width = ui->leWidth->text().toInt();
    resizer.setSize(QSize(width, height));

    CImagesResizer::ResizeParameters flags;
    if (ui->cbWidth->isChecked())
        flags |= CImagesResizer::UseWidth;
    if (ui->cbHeight->isChecked())
        flags |= CImagesResizer::UseHeight;
    if (ui->cbOriginalAspectRatio->isChecked())
        flags |= CImagesResizer::KeepAspectRatio;
    if (ui->cbVeiar->isChecked())
        flags |= CImagesResizer::VerticalImagesAutoRecognition;
    resizer.setResizeParameters(flags);

    // The sub-folder is named after the size that will be used, so it follows every size change.
    // Pool threads read the folder while a run is active (a row deleted then recounts the queue).
    if (ui->cbOutputModes->currentIndex() == COutputModesModel::SubFolder && !resizer.isRunning())
        resizer.setOutputFolder(subFolderName());

    const CEvaluatingResult result = resizer.evaluationResize(imagesModel->images());
    ui->lbEvaluationResult->setText(tr("t_result_size %1 %2 %3")
                                        .arg(result.evalutionSize(), 0, 'f', 2)
                                        .arg(result.currentSize(), 0, 'f', 2)
                                        .arg(result.count()));
}

void ResizeWidget::followSettings()
{
    updateEvaluation();
}

// Pool threads read the engine's settings without a lock, so they change only while no run is active.
void ResizeWidget::applyOutputChoices()
{
    if (resizer.isRunning())
        return;
    resizer.setJpegQuality(settings->jpegQuality());
    resizer.setStripDetails(settings->stripDetails());
    resizer.setNeverEnlarge(settings->neverEnlarge());
}

void ResizeWidget::updateVerticalRecognition()
{
    if (ui->cbWidth->isChecked() && ui->cbHeight->isChecked() && ui->cbOriginalAspectRatio->isChecked()) {
        ui->cbVeiar->setEnabled(true);
        return;
    }
    ui->cbVeiar->setChecked(false);
    ui->cbVeiar->setEnabled(false);
}

void ResizeWidget::fillSizeFromProfile(int row)
{
    const QSize size = profilesModel.profileAt(row).size();
    ui->leWidth->setText(QString::number(size.width()));
    ui->leHeight->setText(QString::number(size.height()));
}

QString ResizeWidget::buttonStyleSheet(const QString &normal, const QString &hover,
                                       const QString &pressed) const
{
    return QStringLiteral("QPushButton {border: none;outline: none;background-color: \"transparent\";"
                          "background-image: url(%1);background-repeat: none;background-position: center}"
                          "QPushButton:hover {background-image: url(%2);}"
                          "QPushButton:pressed {background-image: url(%3);}"
                          // Locked during a run: a remove button that does nothing is not shown.
                          "QPushButton:disabled {background: none;}")
        .arg(normal, hover, pressed);
}

QPushButton *ResizeWidget::createOpenFolderButton(const QString &path)
{
    QPushButton *button = createRowButton(path, QStringLiteral("opfolder"));
    connect(button, &QPushButton::clicked, this, &ResizeWidget::onImageFolderClicked);
    return button;
}

QPushButton *ResizeWidget::createDeleteButton(const QString &path)
{
    QPushButton *button = createRowButton(path, QStringLiteral("delete"));
    connect(button, &QPushButton::clicked, this, &ResizeWidget::onImageDeleteClicked);
    return button;
}

// The button's object name is its only link to its row: the path it acts on.
QPushButton *ResizeWidget::createRowButton(const QString &path, const QString &picture)
{
    const QString base = QStringLiteral(":/Images/") + picture;
    auto *button = new QPushButton;
    button->setObjectName(path);
    // A background picture gives a button no size of its own.
    button->setMinimumSize(30, 30);
    button->setStyleSheet(buttonStyleSheet(base + QStringLiteral(".png"), base + QStringLiteral("high.png"),
                                           base + QStringLiteral("pressed.png")));
    return button;
}

void ResizeWidget::updateResizedCount(int value)
{
    ui->lblResizeCount->setText(tr("t_resized_count %1 %2").arg(value).arg(ui->pbrResizeProgress->maximum()));
}

void ResizeWidget::onSideBoxToggled(bool checked, QCheckBox *other, QWidget *field)
{
    if (!checked && !other->isChecked())
        other->setChecked(true);
    field->setEnabled(checked);
    updateVerticalRecognition();
    updateEvaluation();
}

// A stored folder is used as it is: asking for it again before the window is even shown helps nobody.
void ResizeWidget::restoreOutputMode(const QString &prefix)
{
    const int mode = outputModesModel.modeFromString(prefix);
    if (mode != COutputModesModel::UserDir) {
        ui->cbOutputModes->setCurrentIndex(mode);
        return;
    }
    if (prefix.isEmpty())
        return;
    {
        const QSignalBlocker blocker(ui->cbOutputModes);
        ui->cbOutputModes->setCurrentIndex(mode);
    }
    resetOutputMode();
    useUserDir(prefix);
}

void ResizeWidget::resetOutputMode()
{
    resizer.setSameFolderForNewImages(false);
    resizer.setPrefixForResizedImages(QString(""));
    resizer.setOutputFolder(QString(""));
    outputModesModel.setUserDir(QString(""));
    ui->cbOutputModes->setToolTip(QString());
}

// Every output keeps its source's name: same-folder mode is off and the prefix stays empty.
void ResizeWidget::useUserDir(const QString &folder)
{
    outputModesModel.setUserDir(folder);
    ui->cbOutputModes->setCurrentText(folder);
    // A closed box shows no item's tool tip.
    ui->cbOutputModes->setToolTip(folder);
    resizer.setOutputFolder(folder);
}

QString ResizeWidget::subFolderName() const
{
    return QStringLiteral("resized_%1x%2").arg(ui->leWidth->text().toInt()).arg(ui->leHeight->text().toInt());
}

void ResizeWidget::updateQueueTexts(int rowsCount)
{
    ui->lbTotal->setText(tr("t_total_images") + QString::number(rowsCount));
    ui->pbClearQueue->setText(tr("t_clear_queue %1").arg(rowsCount));
}

void ResizeWidget::leaveRunView()
{
    ui->wMainSettings->setEnabled(true);
    lockQueue(false);
    ui->pbPauseResize->setEnabled(true);
    ui->pbCancelResize->setEnabled(true);
    ui->swResize->setCurrentIndex(0);
    parametersShadow->hide();
    {
        // The next run starts unpaused; telling the idle engine to resume would start its clock.
        const QSignalBlocker blocker(ui->pbPauseResize);
        ui->pbPauseResize->setChecked(false);
    }
    emit resizeStatusChanged(false);
}

// The queue stays as the run found it: emptied, it would take the window to the first screen with the run
// still going; and no second run may start beside it.
void ResizeWidget::lockQueue(bool locked)
{
    ui->pbResize->setEnabled(!locked);
    ui->pbClearQueue->setEnabled(!locked);
    for (int row = 0; row < imagesModel->rowCount(); ++row) {
        if (QWidget *button = ui->tvImagesQueue->indexWidget(imagesModel->index(row, 2)))
            button->setEnabled(!locked);
    }
}

void ResizeWidget::showError(const QString &text)
{
    QMessageBox::critical(this, QCoreApplication::translate("QObject", "t_error"), text);
}

void ResizeWidget::openFolderOf(const QString &path)
{
    if (path.isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteDir().path()));
}
