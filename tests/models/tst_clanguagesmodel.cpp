#include "clanguagesmodel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_CLanguagesModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rows();
    void indexOfLanguage_data();
    void indexOfLanguage();

private:
    QTemporaryDir dir;
};

void tst_CLanguagesModel::initTestCase()
{
    // Only the names decide, not what the files hold.
    for (const QString name : {"BrindleGUI_ru.qm", "BrindleGUI_de.qm", "BrindleGUI_pt.qm", "BrindleGUI_xx.qm",
                               "BrindleGUI_fr.QM", "BrindleGUI_it.qm.bak", "readme.txt"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir("BrindleGUI_es.qm"));
}

void tst_CLanguagesModel::rows()
{
    CLanguagesModel model(dir.path());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown.append(model.index(row).data().toString() + " " + model.localeName(row));
    QCOMPARE(shown, (QStringList{"German (DE) de_DE", "Portuguese (BR) pt_BR", "Russian (RU) ru_RU"}));
}

void tst_CLanguagesModel::indexOfLanguage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");

    QTest::newRow("exact name") << "de_DE" << 0;
    QTest::newRow("case is ignored") << "RU_ru" << 2;
    QTest::newRow("language without a file") << "fr_FR" << -1;
    QTest::newRow("bare language code is no locale name") << "ru" << -1;
}

void tst_CLanguagesModel::indexOfLanguage()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    QCOMPARE(CLanguagesModel(dir.path()).indexOfLanguage(name), row);
}

QTEST_GUILESS_MAIN(tst_CLanguagesModel)
#include "tst_clanguagesmodel.moc"
