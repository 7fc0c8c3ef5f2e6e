#include "coutputmodesmodel.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

// Stands for a loaded translation of the modes' texts.
class Marking : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return QByteArray(context) == "COutputModesModel" ? QStringLiteral("de:") + source : QString();
    }
};

class tst_COutputModesModel : public QObject
{
    Q_OBJECT

private slots:
    void setUserDir_data();
    void setUserDir();
    void retranslate();
};

void tst_COutputModesModel::setUserDir_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");

    QTest::newRow("two parts stay as they are") << "D:/Out" << QStringLiteral("D:/Out");
    QTest::newRow("backslashes") << "D:\\Photos\\Out" << QStringLiteral("D:\\....\\Out");
    QTest::newRow("trailing separator leaves an empty last part")
        << "D:/Photos/Out/" << QStringLiteral("D:\\....\\");
    QTest::newRow("unix root folder, mixed separators") << "/home/user\\out" << QStringLiteral("\\....\\out");
    QTest::newRow("no folder shows the prompt") << "" << QStringLiteral("t_choose_folder");
}

void tst_COutputModesModel::setUserDir()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);

    COutputModesModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setUserDir("/an/earlier/folder");
    QSignalSpy changed(&model, &COutputModesModel::dataChanged);

    model.setUserDir(path);

    const QModelIndex row = model.index(COutputModesModel::UserDir);
    QCOMPARE(row.data().toString(), shown);
    QCOMPARE(row.data(Qt::ToolTipRole), path.isEmpty() ? QVariant() : QVariant(path));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), row);
    QCOMPARE(changed.at(0).at(1).toModelIndex(), row);
}

void tst_COutputModesModel::retranslate()
{
    COutputModesModel model;
    Marking translator;
    QCoreApplication::installTranslator(&translator);
    QCOMPARE(model.index(1).data().toString(), QString("t_subfolder"));
    model.retranslate();
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(model.index(0).data().toString(), QString("de:t_prefix_same_folder"));
    QCOMPARE(model.index(1).data().toString(), QString("de:t_subfolder"));
    QCOMPARE(model.index(2).data().toString(), QString("de:t_choose_folder"));
}

QTEST_GUILESS_MAIN(tst_COutputModesModel)
#include "tst_coutputmodesmodel.moc"
