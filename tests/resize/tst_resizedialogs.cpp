#include "modalanswer.h"
#include "resizefinisheddialog.h"
#include "resizequeuedialog.h"

#include <QPushButton>
#include <QtTest>

#include <memory>

class tst_ResizeDialogs : public QObject
{
    Q_OBJECT

private slots:
    void closing_data();
    void closing();
};

void tst_ResizeDialogs::closing_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    for (const bool question : {true, false}) {
        const char *name = question ? "question" : "completion";
        QTest::addRow("%s: green button accepts", name) << question << "pbAccept" << int(QDialog::Accepted);
        QTest::addRow("%s: close button rejects", name) << question << "pbClose" << int(QDialog::Rejected);
        QTest::addRow("%s: escape rejects", name) << question << QString() << int(QDialog::Rejected);
    }
    QTest::newRow("question: cancel button rejects") << true << "pbCancel" << int(QDialog::Rejected);
}

void tst_ResizeDialogs::closing()
{
    QFETCH(bool, question);
    QFETCH(QString, button);
    QFETCH(int, result);
    std::unique_ptr<QDialog> dialog(question ? static_cast<QDialog *>(new ResizeQueueDialog("five?", nullptr))
                                             : new ResizeFinishedDialog(nullptr));
    TestModal::answer([&](QWidget *modal) {
        if (button.isEmpty())
            QTest::keyClick(modal, Qt::Key_Escape);
        else
            modal->findChild<QPushButton *>(button)->click();
        return true;
    });
    QCOMPARE(dialog->exec(), result);
}

QTEST_MAIN(tst_ResizeDialogs)
#include "tst_resizedialogs.moc"
