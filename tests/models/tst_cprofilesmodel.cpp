#include "cprofilesmodel.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

using Files = QMap<QString, QByteArray>;

class tst_CProfilesModel : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
};

void tst_CProfilesModel::rows_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QVector<QSize>>("sizes");
    QTest::addColumn<QString>("error");

    const QStringList builtIn{"Email", "Manual", "Desktop"};
    const QVector<QSize> builtInSizes{QSize(1024, 768), QSize(0, 0),
                                      QGuiApplication::primaryScreen()->size()};
    QTest::newRow("no profile files") << Files() << builtIn << builtInSizes << QString();
    // In the order of the file names, whatever their case; hidden files are none.
    QTest::newRow("files after the built-in profiles")
        << Files{{"b.ini", "[Main]\nname=Big\nsize=@Size(1920 1080)\n"},
                 {"A.ini", "[Main]\nname=Avatar\nsize=@Size(256 256)\n"},
                 {"c.profile", "[Other]\nname=Nothing\n"},
                 {".hidden.ini", "[Main]\nname=Hidden\nsize=@Size(1 1)\n"}}
        << builtIn + QStringList{"Avatar", "Big", ""}
        << builtInSizes + QVector<QSize>{QSize(256, 256), QSize(1920, 1080), QSize()} << QString();
    QTest::newRow("unreadable file") << Files{{"broken.ini", "[Main\nname=Broken\n"}} << QStringList()
                                     << QVector<QSize>() << "e_cann't_read_profile";
}

void tst_CProfilesModel::rows()
{
    QFETCH(Files, files);
    QFETCH(QStringList, names);
    QFETCH(QVector<QSize>, sizes);
    QFETCH(QString, error);

    QTemporaryDir dir;
    // A folder named like a profile is none.
    QVERIFY(QDir(dir.path()).mkdir("d.ini"));
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile file(dir.filePath(it.key()));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it.value().size());
    }
    QString message;
    try {
        CProfilesModel model(dir.path());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), names.size());
        for (int row = 0; row < names.size(); ++row) {
            QCOMPARE(model.index(row).data().toString(), names.at(row));
            QCOMPARE(model.index(row, CProfilesModel::Size).data(Qt::UserRole).toSize(), sizes.at(row));
        }
        QVERIFY2(!(model.profileAt(model.manualProfileIndex()) != Profile()), "the manual entry is another");
        QVERIFY2(!model.index(0, CProfilesModel::Size).data().isValid(), "only the name column has a text");
    } catch (const std::runtime_error &thrown) {
        message = QString::fromStdString(thrown.what());
    }
    QCOMPARE(message, error);
}

QTEST_MAIN(tst_CProfilesModel)
#include "tst_cprofilesmodel.moc"
