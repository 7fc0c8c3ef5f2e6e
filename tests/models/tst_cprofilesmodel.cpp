#include "cprofilesmodel.h"
#include "translationfile.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <stdexcept>

class tst_CProfilesModel : public QObject
{
    Q_OBJECT

private slots:
    void builtInProfilesOnly();
    void profilesFromFolder();
    void unreadableProfile();
    void comparison_data();
    void comparison();

private:
    static void writeFile(const QString &path, const QByteArray &content);
};

void tst_CProfilesModel::writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void tst_CProfilesModel::builtInProfilesOnly()
{
    QTemporaryDir dir;
    CProfilesModel model(dir.filePath("Profiles"));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0).data().toString(), QString("Email"));
    QCOMPARE(model.index(0).data(Qt::UserRole).toSize(), QSize(1024, 768));
    QCOMPARE(model.index(model.manualProfileIndex()).data().toString(), QString("Manual"));
    QCOMPARE(model.index(1).data(Qt::UserRole).toSize(), QSize(0, 0));
    QCOMPARE(model.index(2).data().toString(), QString("Desktop"));
    QCOMPARE(model.index(2).data(Qt::UserRole).toSize(), QGuiApplication::primaryScreen()->geometry().size());
    QCOMPARE(model.index(0, CProfilesModel::Size).data(Qt::UserRole).toSize(), QSize(1024, 768));
    QVERIFY2(!model.index(0, CProfilesModel::Size).data().isValid(),
             "only the name column has a display text");
    QVERIFY(!model.index(0).data(Qt::EditRole).isValid());
}

void tst_CProfilesModel::profilesFromFolder()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("b.ini"), "[Main]\nname=Big\nsize=@Size(1920 1080)\n");
    writeFile(dir.filePath("A.ini"), "[Main]\nname=Avatar\nsize=@Size(256 256)\n");
    writeFile(dir.filePath("c.profile"), "[Other]\nname=Nothing\n");
    writeFile(dir.filePath(".hidden.ini"), "[Main]\nname=Hidden\nsize=@Size(1 1)\n");
    QVERIFY(QDir(dir.path()).mkdir("d.ini"));

    CProfilesModel model(dir.path());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(model.rowCount(), 6);
    QCOMPARE(model.profileAt(3).name(), QString("Avatar"));
    QCOMPARE(model.profileAt(3).size(), QSize(256, 256));
    QCOMPARE(model.profileAt(4).name(), QString("Big"));
    QCOMPARE(model.profileAt(4).size(), QSize(1920, 1080));
    QVERIFY2(model.profileAt(5).name().isEmpty(), "a file without the Main group gives an empty name");
    QCOMPARE(model.profileAt(5).size(), QSize());
}

void tst_CProfilesModel::unreadableProfile()
{
    QTemporaryDir dir;
    const QString qm = dir.filePath("errors.qm");
    QVERIFY2(TranslationFile::write(qm, {{"QObject", "e_cann't_read_profile", "Profil kaputt"}}),
             "the release tool could not build a translation");
    QTranslator translator;
    QVERIFY(translator.load(qm));
    QCoreApplication::installTranslator(&translator);
    QVERIFY(QDir(dir.path()).mkdir("Profiles"));
    writeFile(dir.filePath("Profiles/broken.ini"), "[Main\nname=Broken\n");

    QString message;
    try {
        CProfilesModel model(dir.filePath("Profiles"));
    } catch (const std::runtime_error &error) {
        message = QString::fromStdString(error.what());
    }
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(message, QString("Profil kaputt"));
}

void tst_CProfilesModel::comparison_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("differs");

    QTest::newRow("manual profile") << "Manual" << QSize(0, 0) << false;
    QTest::newRow("other name") << "Email" << QSize(0, 0) << true;
    QTest::newRow("name differs only in case") << "manual" << QSize(0, 0) << true;
    QTest::newRow("other size") << "Manual" << QSize(0, 1) << true;
}

void tst_CProfilesModel::comparison()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, differs);
    QCOMPARE(Profile(name, size) != Profile(), differs);
    QCOMPARE(Profile() != Profile(name, size), differs);
}

QTEST_MAIN(tst_CProfilesModel)
#include "tst_cprofilesmodel.moc"
