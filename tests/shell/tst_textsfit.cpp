#include "csettings.h"
#include "heldfile.h"
#include "loadingwindow.h"
#include "mainwindow.h"
#include "modalanswer.h"
#include "resizefinisheddialog.h"
#include "settingswindow.h"
#include "shellwindow.h"
#include "testimages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// Width a text takes with what the style draws around it, against the width the widget has.
struct Room
{
    int needed;
    int has;
};

// A combo box draws its current item in the edit field, the item's icon first.
Room itemRoom(const QComboBox *box, int item)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    option.frame = box->hasFrame();
    const QRect field =
        box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    const int icon = box->itemIcon(item).isNull() ? 0 : box->iconSize().width() + 4;
    return {box->fontMetrics().horizontalAdvance(box->itemText(item)) + icon, field.width()};
}

// Every visible text of the window's labels, buttons, check boxes and combo boxes (each item) that needs
// more width than it has, one line each: "object: text needs n px, has m".
QString cutTexts(QWidget *window)
{
    // Texts set since the last pass of the event loop are not laid out yet.
    QCoreApplication::processEvents();
    QStringList cut;
    const auto check = [&](const QWidget *widget, const QString &text, const Room &room) {
        if (!text.isEmpty() && room.needed > room.has)
            cut << QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                       .arg(widget->objectName(), text)
                       .arg(room.needed)
                       .arg(room.has);
    };
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(window))
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            // A wrapping label runs out of height, not of width.
            check(label, label->text(),
                  label->wordWrap() ? Room{label->heightForWidth(label->width()), label->height()}
                                    : Room{label->sizeHint().width(), label->width()});
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            check(button, button->text(), {button->sizeHint().width(), button->width()});
        } else if (auto *box = qobject_cast<QComboBox *>(widget)) {
            // An item whose tool tip tells the whole text may be elided.
            for (int item = 0; item < box->count(); ++item)
                check(box, box->itemData(item, Qt::ToolTipRole).isValid() ? QString() : box->itemText(item),
                      itemRoom(box, item));
        }
    }
    return cut.join(QLatin1Char('\n'));
}

} // namespace

class tst_TextsFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void everyTextFits_data();
    void everyTextFits();

private:
    template <typename T = QWidget>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    QTemporaryDir workDir;
    std::unique_ptr<CSettings> settings;
    std::unique_ptr<MainWindow> window;
    QString photo;
};

void tst_TextsFit::initTestCase()
{
    QVERIFY(workDir.isValid());
    QVERIFY(QDir::setCurrent(workDir.path()));
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(ShellWindow::placeTranslations(), "the build's translations could not be laid out");
    // The program's own font choice, which decides every width here.
    prepareApplication(*qApp);
    photo =
        TestImages::write(workDir.filePath(QStringLiteral("a photo with a long name.png")), QSize(40, 30));
    QVERIFY(!photo.isEmpty());
}

void tst_TextsFit::cleanup()
{
    window.reset();
    settings.reset();
    QFile::remove(QStringLiteral("Settings.ini"));
}

void tst_TextsFit::everyTextFits_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : {"en_US", "de_DE", "ru_RU"})
        QTest::newRow(language) << language;
}

// One pass through what a user meets: the first screen, the resize screen, the run's question and view, the
// settings panel and the overlays.
void tst_TextsFit::everyTextFits()
{
    QFETCH(QString, language);
    settings = std::make_unique<CSettings>(QStringLiteral("Settings.ini"));
    settings->setLanguage(language);
    window = std::make_unique<MainWindow>(settings.get());
    ShellWindow::show(window.get());
    QCOMPARE(cutTexts(window.get()), QString());
    QVERIFY(ShellWindow::queueAndWait(window.get(), {photo}));
    QCOMPARE(cutTexts(window.get()), QString());
    {
        // The question is checked while it asks, and the run view while its image is held in flight.
        HeldFile held(photo);
        QVERIFY(held.isValid());
        QString questionCut = QStringLiteral("not shown");
        TestModal::answer([&](QWidget *modal) {
            auto *accept = modal->findChild<QPushButton *>(QStringLiteral("pbAccept"));
            if (!modal->inherits("ResizeQueueDialog") || !accept)
                return false;
            questionCut = cutTexts(modal);
            accept->click();
            return true;
        });
        QVERIFY2(child("pbResize")->isVisible(),
                 "a click on a hidden button would ask no question to answer");
        child<QPushButton>("pbResize")->click();
        QCOMPARE(questionCut, QString());
        QVERIFY(held.waitForReader());
        QTRY_VERIFY(child("pbCancelResize")->isVisible());
        QCOMPARE(cutTexts(window.get()), QString());
        child<QPushButton>("pbCancelResize")->click();
        QCOMPARE(cutTexts(window.get()), QString());
        held.release();
        QTRY_VERIFY(child("pbResize")->isVisible());
    }
    child<QPushButton>("pbSettings")->click();
    QCOMPARE(cutTexts(window->findChild<SettingsWindow *>()), QString());
    auto *opening = window->findChild<LoadingWindow *>();
    opening->setProgress(1234, 5678);
    opening->show();
    QCOMPARE(cutTexts(opening), QString());
    ResizeFinishedDialog finished(window.get());
    finished.show();
    QCOMPARE(cutTexts(&finished), QString());
}

QTEST_MAIN(tst_TextsFit)
#include "tst_textsfit.moc"
