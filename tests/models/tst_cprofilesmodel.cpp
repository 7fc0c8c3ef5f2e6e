#include "cprofilesmodel.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

using Sizes = QVector<QSize>;

class tst_CProfilesModel : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void unreadableProfile();

private:
    static void writeFile(const QString &path, const QByteArray &content);
};

void tst_CProfilesModel::writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void tst_CProfilesModel::rows_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<Sizes>("sizes");

    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QStringList builtIn{"Email", "Manual", "Desktop"};
    const Sizes builtInSizes{QSize(1024, 768), QSize(0, 0), screen};
    QTest::newRow("no profiles folder") << false << builtIn << builtInSizes;
    // By file name, whatever the case; hidden files and folders are no profiles.
    QTest::newRow("files after the built-in profiles")
        << true << builtIn + QStringList{"Avatar", "Big", ""}
        << builtInSizes + Sizes{QSize(256, 256), QSize(1920, 1080), QSize()};
}

void tst_CProfilesModel::rows()
{
    QFETCH(bool, folder);
    QFETCH(QStringList, names);
    QFETCH(Sizes, sizes);

    QTemporaryDir dir;
    if (folder) {
        writeFile(dir.filePath("b.ini"), "[Main]\nname=Big\nsize=@Size(1920 1080)\n");
        writeFile(dir.filePath("A.ini"), "[Main]\nname=Avatar\nsize=@Size(256 256)\n");
        writeFile(dir.filePath("c.profile"), "[Other]\nname=Nothing\n");
        writeFile(dir.filePath(".hidden.ini"), "[Main]\nname=Hidden\nsize=@Size(1 1)\n");
        QVERIFY(QDir(dir.path()).mkdir("d.ini"));
    }
    CProfilesModel model(folder ? dir.path() : dir.filePath("Profiles"));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(model.rowCount(), names.size());
    for (int row = 0; row < names.size(); ++row) {
        QCOMPARE(model.index(row).data().toString(), names.at(row));
        QCOMPARE(model.index(row, CProfilesModel::Size).data(Qt::UserRole).toSize(), sizes.at(row));
    }
    QVERIFY2(!(model.profileAt(model.manualProfileIndex()) != Profile()),
             "the manual entry is not the manual one");
    QVERIFY2(!model.index(0, CProfilesModel::Size).data().isValid(),
             "only the name column has a display text");
}

void tst_CProfilesModel::unreadableProfile()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("broken.ini"), "[Main\nname=Broken\n");
    QString message;
    try {
        CProfilesModel model(dir.path());
    } catch (const std::runtime_error &error) {
        message = QString::fromStdString(error.what());
    }
    QCOMPARE(message, QString("e_cann't_read_profile"));
}

QTEST_MAIN(tst_CProfilesModel)
#include "tst_cprofilesmodel.moc"
