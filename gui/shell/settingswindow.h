#pragma once

#include "clanguagesmodel.h"
#include "coutputmodesmodel.h"

#include <QFrame>
#include <QPropertyAnimation>

class CSettings;

namespace Ui {
class SettingsWindow;
}

// The settings panel that slides in from the right edge of the main panel over the veil it is a child of.
class SettingsWindow : public QFrame
{
    Q_OBJECT

public:
    SettingsWindow(CSettings *settings, QWidget *parent);
    ~SettingsWindow() override;

public slots:
    void startShowAnimation();
    void startHideAnimation();
    void saveSettings();

signals:
    // After the save button stored the panel's choices.
    void saved();

protected:
    void changeEvent(QEvent *event) override;

private:
    void storePrefix();
    void storeLanguage();
    void showOutputChoices();
    void storeOutputChoices();

    Ui::SettingsWindow *ui;
    QPropertyAnimation showAnimation;
    QPropertyAnimation hideAnimation;
    CSettings *settings;
    CLanguagesModel languagesModel;
    COutputModesModel outputModesModel;
};
