#include "clanguagesmodel.h"
#include "translationfile.h"

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
    void missingFolder();

private:
    QTemporaryDir dir;
};

void tst_CLanguagesModel::initTestCase()
{
    QVERIFY(dir.isValid());
    const QString qm = dir.filePath("BrindleGUI_ru.qm");
    QVERIFY2(TranslationFile::write(qm, {{"QObject", "t_error", "Ошибка"}}),
             "the release tool could not build a translation");
    // Only the names decide: the same file under other names stands for other languages.
    for (const QString &name : {"BrindleGUI_de.qm", "BrindleGUI_pt.qm", "BrindleGUI_xx.qm",
                                "BrindleGUI_fr.QM", "BrindleGUI_it.qm.bak"})
        QVERIFY(QFile::copy(qm, dir.filePath(name)));
    QVERIFY(QDir(dir.path()).mkdir("BrindleGUI_es.qm"));
    QFile readme(dir.filePath("readme.txt"));
    QVERIFY(readme.open(QIODevice::WriteOnly));
}

void tst_CLanguagesModel::rows()
{
    CLanguagesModel model(dir.path());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QStringList shown;
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) {
        shown.append(model.index(row).data().toString());
        names.append(model.localeName(row));
    }
    QCOMPARE(shown, (QStringList{"German (DE)", "Portuguese (BR)", "Russian (RU)"}));
    QCOMPARE(names, (QStringList{"de_DE", "pt_BR", "ru_RU"}));
    QVERIFY(!model.index(0).data(Qt::UserRole).isValid());
}

void tst_CLanguagesModel::indexOfLanguage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");

    QTest::newRow("exact name") << "de_DE" << 0;
    QTest::newRow("case is ignored") << "RU_ru" << 2;
    QTest::newRow("language without a file") << "fr_FR" << -1;
    QTest::newRow("bare language code is no locale name") << "ru" << -1;
    QTest::newRow("empty name") << "" << -1;
}

void tst_CLanguagesModel::indexOfLanguage()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    QCOMPARE(CLanguagesModel(dir.path()).indexOfLanguage(name), row);
}

void tst_CLanguagesModel::missingFolder()
{
    CLanguagesModel model(dir.filePath("no-such-folder"));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.indexOfLanguage("ru_RU"), -1);
}

QTEST_GUILESS_MAIN(tst_CLanguagesModel)
#include "tst_clanguagesmodel.moc"
