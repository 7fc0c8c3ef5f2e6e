#include "settingswindow.h"
#include "ui_settingswindow.h"

#include "csettings.h"
#include "filedialogs.h"

#include <QStyledItemDelegate>

SettingsWindow::SettingsWindow(CSettings *settings, QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::SettingsWindow)
    , showAnimation(this, "pos")
    , hideAnimation(this, "pos")
    , settings(settings)
    , languagesModel(translationsPath())
{
    parent->hide();
    ui->setupUi(this);

    // Parked on the veil's last pixel column, so the panel starts outside the visible area; both slides
    // always run between these two fixed points, wherever an interrupted slide left the panel.
    const QPoint parked = parent->geometry().topRight();
    const QPoint shown(parked.x() + 1 - width(), parked.y());
    move(parked);
    showAnimation.setStartValue(parked);
    showAnimation.setEndValue(shown);
    hideAnimation.setStartValue(shown);
    hideAnimation.setEndValue(parked);

    connect(&hideAnimation, &QPropertyAnimation::finished, parent, &QWidget::hide);
    connect(ui->pbCancel, &QPushButton::clicked, this, &SettingsWindow::startHideAnimation);
    connect(ui->pbCloseSettings, &QPushButton::clicked, this, &SettingsWindow::startHideAnimation);
    connect(ui->pbClose, &QPushButton::clicked, this, &SettingsWindow::startHideAnimation);
    connect(ui->pbSaveSettings, &QPushButton::clicked, this, &SettingsWindow::saveSettings);

    ui->cbPrefix->setModel(&outputModesModel);
    ui->cbPrefix->setItemDelegate(new QStyledItemDelegate(ui->cbPrefix));
    outputModesModel.setUserDir(settings->prefix());
    ui->cbPrefix->setCurrentIndex(outputModesModel.modeFromString(settings->prefix()));

    ui->cbLanguages->setModel(&languagesModel);
    ui->cbLanguages->setItemDelegate(new QStyledItemDelegate(ui->cbLanguages));
    ui->cbLanguages->setCurrentIndex(languagesModel.indexOfLanguage(settings->language()));
    showOutputChoices();
}

SettingsWindow::~SettingsWindow()
{
    delete ui;
}

void SettingsWindow::startShowAnimation()
{
    showOutputChoices();
    parentWidget()->show();
    setEnabled(true);
    hideAnimation.stop();
    showAnimation.start();
    show();
}

void SettingsWindow::startHideAnimation()
{
    showAnimation.stop();
    hideAnimation.start();
    setEnabled(false);
}

void SettingsWindow::saveSettings()
{
    storePrefix();
    storeLanguage();
    storeOutputChoices();
    startHideAnimation();
    emit saved();
}

void SettingsWindow::storePrefix()
{
    switch (ui->cbPrefix->currentIndex()) {
    case 0:
        settings->setPrefix(QStringLiteral("same"));
        break;
    case 1:
        settings->setPrefix(QStringLiteral("subfolder"));
        break;
    case 2: {
        // Asked on saving, not on picking the row, so a stored folder can be replaced by choosing the row
        // again.
        const QString folder = FileDialogs::chooseFolder(this, settings, tr("t_choose_outdir"));
        if (!folder.isNull())
            settings->setPrefix(folder);
        break;
    }
    default:
        break;
    }
}

void SettingsWindow::storeLanguage()
{
    // No row means the stored language has no translation here; keep it rather than store a guess.
    const int row = ui->cbLanguages->currentIndex();
    if (row >= 0)
        settings->setLanguage(languagesModel.localeName(row));
}

// Shown afresh on every opening, so choices changed and then cancelled do not come back as if stored.
void SettingsWindow::showOutputChoices()
{
    ui->sbJpegQuality->setValue(settings->jpegQuality());
    ui->cbStripDetails->setChecked(settings->stripDetails());
    ui->cbNeverEnlarge->setChecked(settings->neverEnlarge());
}

void SettingsWindow::storeOutputChoices()
{
    settings->setJpegQuality(ui->sbJpegQuality->value());
    settings->setStripDetails(ui->cbStripDetails->isChecked());
    settings->setNeverEnlarge(ui->cbNeverEnlarge->isChecked());
}

void SettingsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        outputModesModel.retranslate();
    }
    QFrame::changeEvent(event);
}
