#include "coutputmodesmodel.h"
#include "translationfile.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class tst_COutputModesModel : public QObject
{
    Q_OBJECT

private slots:
    void modeFromString_data();
    void modeFromString();
    void setUserDir_data();
    void setUserDir();
    void emptyUserDirShowsPrompt();
    void retranslate();
};

void tst_COutputModesModel::modeFromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");

    QTest::newRow("same") << "same" << int(COutputModesModel::SameFolderWithPrefix);
    QTest::newRow("same in capitals") << "SAME" << int(COutputModesModel::SameFolderWithPrefix);
    QTest::newRow("same capitalised") << "Same" << int(COutputModesModel::SameFolderWithPrefix);
    QTest::newRow("subfolder") << "subfolder" << int(COutputModesModel::SubFolder);
    QTest::newRow("subfolder in mixed case") << "SubFolder" << int(COutputModesModel::SubFolder);
    QTest::newRow("empty text is a user folder") << "" << int(COutputModesModel::UserDir);
    QTest::newRow("folder path") << "D:/Out" << int(COutputModesModel::UserDir);
    QTest::newRow("folder named like a mode") << "/same" << int(COutputModesModel::UserDir);
}

void tst_COutputModesModel::modeFromString()
{
    QFETCH(QString, text);
    QFETCH(int, mode);
    QCOMPARE(COutputModesModel().modeFromString(text), mode);
}

void tst_COutputModesModel::setUserDir_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");

    QTest::newRow("two parts stay as they are") << "D:/Out"
                                                << "D:/Out";
    QTest::newRow("backslashes") << "D:\\Photos\\Out"
                                 << "D:\\....\\Out";
    QTest::newRow("deep slashes") << "D:/Users/user/Pictures/Small"
                                  << "D:\\....\\Small";
    QTest::newRow("trailing separator leaves an empty last part") << "D:/Photos/Out/"
                                                                  << "D:\\....\\";
    QTest::newRow("unix root folder") << "/home/user/out"
                                      << "\\....\\out";
    QTest::newRow("mixed separators") << "C:\\a/b"
                                      << "C:\\....\\b";
}

void tst_COutputModesModel::setUserDir()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);

    COutputModesModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changed(&model, &COutputModesModel::dataChanged);

    model.setUserDir(path);

    QCOMPARE(model.index(COutputModesModel::UserDir).data().toString(), shown);
    QCOMPARE(model.index(COutputModesModel::UserDir).data(Qt::ToolTipRole).toString(), path);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(COutputModesModel::UserDir));
    QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(COutputModesModel::UserDir));
    QVERIFY2(changed.at(0).at(2).value<QVector<int>>().isEmpty(), "the change names no roles");
}

void tst_COutputModesModel::emptyUserDirShowsPrompt()
{
    COutputModesModel model;
    model.setUserDir("/home/user/out");
    model.setUserDir("");
    QCOMPARE(model.index(COutputModesModel::UserDir).data().toString(), QString("t_choose_folder"));
    QCOMPARE(model.index(0).data().toString(), QString("t_prefix_same_folder"));
    QCOMPARE(model.index(1).data().toString(), QString("t_subfolder"));
    QVERIFY(!model.index(0).data(Qt::EditRole).isValid());
    QVERIFY(!model.index(0).data(Qt::ToolTipRole).isValid());
    QVERIFY2(!model.index(COutputModesModel::UserDir).data(Qt::ToolTipRole).isValid(),
             "the prompt has a tool tip");
}

void tst_COutputModesModel::retranslate()
{
    QTemporaryDir dir;
    const QString qm = dir.filePath("modes_de.qm");
    QVERIFY2(TranslationFile::write(qm, {{"COutputModesModel", "t_prefix_same_folder", "Daneben mit Präfix"},
                                         {"COutputModesModel", "t_subfolder", "Unterordner"},
                                         {"COutputModesModel", "t_choose_folder", "Ordner wählen..."}}),
             "the release tool could not build a translation");
    COutputModesModel model;
    QTranslator translator;
    QVERIFY(translator.load(qm));
    QCoreApplication::installTranslator(&translator);
    QSignalSpy changed(&model, &COutputModesModel::dataChanged);

    QCOMPARE(model.index(1).data().toString(), QString("t_subfolder"));
    model.retranslate();
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(model.index(0).data().toString(), QString("Daneben mit Präfix"));
    QCOMPARE(model.index(1).data().toString(), QString("Unterordner"));
    QCOMPARE(model.index(2).data().toString(), QString("Ordner wählen..."));
    QCOMPARE(changed.count(), 0);
}

QTEST_GUILESS_MAIN(tst_COutputModesModel)
#include "tst_coutputmodesmodel.moc"
