#include "resizefinisheddialog.h"
#include "resizequeuedialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

class tst_ResizeDialogs : public QObject
{
    Q_OBJECT

private slots:
    void closing_data();
    void closing();
    void languageChangeEmptiesTheQuestion();
};

void tst_ResizeDialogs::closing_data()
{
    QTest::addColumn<bool>("queueDialog");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    for (const bool queue : {true, false}) {
        const char *name = queue ? "question" : "completion";
        QTest::addRow("%s: green button accepts", name) << queue << "pbAccept" << int(QDialog::Accepted);
        QTest::addRow("%s: close button rejects", name) << queue << "pbClose" << int(QDialog::Rejected);
        QTest::addRow("%s: escape rejects", name) << queue << QString() << int(QDialog::Rejected);
    }
    QTest::newRow("question: cancel button rejects") << true << "pbCancel" << int(QDialog::Rejected);
}

void tst_ResizeDialogs::closing()
{
    QFETCH(bool, queueDialog);
    QFETCH(QString, button);
    QFETCH(int, result);
    std::unique_ptr<QDialog> dialog;
    if (queueDialog)
        dialog.reset(new ResizeQueueDialog(QStringLiteral("five images?"), nullptr));
    else
        dialog.reset(new ResizeFinishedDialog(nullptr));
    QTimer::singleShot(0, dialog.get(), [&] {
        if (button.isEmpty())
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            dialog->findChild<QPushButton *>(button)->click();
    });
    QCOMPARE(dialog->exec(), result);
    QCOMPARE(dialog->result(), result);
}

void tst_ResizeDialogs::languageChangeEmptiesTheQuestion()
{
    ResizeQueueDialog dialog(QStringLiteral("t_resize_question 5"), nullptr);
    auto *text = dialog.findChild<QLabel *>(QStringLiteral("lblText"));
    QCOMPARE(text->text(), QStringLiteral("t_resize_question 5"));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&dialog, &change);
    QVERIFY2(text->text().isEmpty(), "the question would keep a count in the old language");
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("label"))->text(), QStringLiteral("t_resize_queue"));
}

QTEST_MAIN(tst_ResizeDialogs)
#include "tst_resizedialogs.moc"
