#include "cimagesmodel.h"
#include "testimages.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
QStringList testerFailures;
QtMessageHandler previousHandler = nullptr;

// The thumbnail is the display value of column 0, which the tester expects to be text; every other
// complaint of the tester is a fault.
void collectTesterFailure(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (QByteArray(context.category) != "qt.modeltest") {
        previousHandler(type, context, message);
        return;
    }
    if (!message.contains("canConvert<QString>"))
        testerFailures.append(message);
}
} // namespace

class tst_CImagesModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openImages_data();
    void openImages();
    void batchOfNothing();
    void rowContents();
    void cellRoles_data();
    void cellRoles();
    void resizedMarksAndReset();
    void resizedAfterRowWasDeleted();
    void removeImage();
    void invalidRemovals_data();
    void invalidRemovals();
    void clearQueue();
    void clearEmptyQueue();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    // Opens a batch and waits for its end; returns the opening states that were signalled.
    QList<bool> open(const QStringList &names);
    void fill(int count);

    QTemporaryDir dir;
    std::unique_ptr<CImagesModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

void tst_CImagesModel::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(!TestImages::write(path("wide.jpg"), QSize(80, 40)).isEmpty());
    QVERIFY(!TestImages::write(path("tall.png"), QSize(30, 60)).isEmpty());
    QVERIFY(!TestImages::write(path("small.bmp"), QSize(10, 20)).isEmpty());
    QFile broken(path("broken.jpg"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("this is no picture");
}

void tst_CImagesModel::init()
{
    model.reset(new CImagesModel);
    testerFailures.clear();
    previousHandler = qInstallMessageHandler(collectTesterFailure);
    tester.reset(
        new QAbstractItemModelTester(model.get(), QAbstractItemModelTester::FailureReportingMode::Warning));
}

void tst_CImagesModel::cleanup()
{
    tester.reset();
    model.reset();
    qInstallMessageHandler(previousHandler);
    QVERIFY2(testerFailures.isEmpty(), qPrintable(testerFailures.join('\n')));
}

QList<bool> tst_CImagesModel::open(const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names)
        paths.append(path(name));
    QSignalSpy opening(model.get(), &CImagesModel::imagesIsOpening);
    model->openImages(paths);
    QList<bool> states;
    while (states.isEmpty() || states.last()) {
        if (opening.isEmpty() && !opening.wait(10000))
            break;
        states.append(opening.takeFirst().at(0).toBool());
    }
    return states;
}

void tst_CImagesModel::fill(int count)
{
    const QStringList all{"wide.jpg", "tall.png", "small.bmp"};
    QCOMPARE(open(all.mid(0, count)).last(), false);
    QCOMPARE(model->rowCount(), count);
}

void tst_CImagesModel::openImages_data()
{
    QTest::addColumn<QStringList>("queued");
    QTest::addColumn<QStringList>("batch");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("leftOut");

    QTest::newRow("undecodable file in the middle is left out")
        << QStringList() << QStringList{"wide.jpg", "broken.jpg", "tall.png"}
        << QStringList{"wide.jpg", "tall.png"} << QStringList{"broken.jpg"};
    QTest::newRow("missing file is left out") << QStringList() << QStringList{"gone.png", "small.bmp"}
                                              << QStringList{"small.bmp"} << QStringList{"gone.png"};
    QTest::newRow("already queued path is skipped without a word")
        << QStringList{"wide.jpg"} << QStringList{"wide.jpg", "tall.png"} << QStringList{"tall.png"}
        << QStringList();
    QTest::newRow("same path twice in one call gives one row")
        << QStringList() << QStringList{"tall.png", "wide.jpg", "tall.png"}
        << QStringList{"tall.png", "wide.jpg"} << QStringList();
    QTest::newRow("queued file under another spelling is a new row")
        << QStringList{"wide.jpg"} << QStringList{"./wide.jpg"} << QStringList{"./wide.jpg"} << QStringList();
}

void tst_CImagesModel::openImages()
{
    QFETCH(QStringList, queued);
    QFETCH(QStringList, batch);
    QFETCH(QStringList, added);
    QFETCH(QStringList, leftOut);

    if (!queued.isEmpty())
        QCOMPARE(open(queued).last(), false);
    const int before = model->rowCount();
    QSignalSpy inserted(model.get(), &CImagesModel::rowsInserted);
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);
    QSignalSpy told(model.get(), &CImagesModel::imagesLeftOut);

    QCOMPARE(open(batch), (QList<bool>{true, false}));

    // Each file left out is named with the reason, after the busy state has ended.
    QCOMPARE(told.count(), leftOut.isEmpty() ? 0 : 1);
    const QStringList lines = told.isEmpty() ? QStringList() : told.at(0).at(0).toStringList();
    QCOMPARE(lines.size(), leftOut.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(lines.at(i).startsWith(path(leftOut.at(i)) + ": ") &&
                     lines.at(i).size() > path(leftOut.at(i)).size() + 2,
                 qPrintable(lines.at(i)));

    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), before);
    QCOMPARE(inserted.at(0).at(2).toInt(), before + added.size() - 1);
    QCOMPARE(counts.count(), 1);
    QCOMPARE(counts.at(0).at(0).toInt(), before + added.size());

    // Workers deliver in any order, so compare the new rows as a set.
    QStringList got;
    const QVector<CImageInfo> images = model->images();
    for (int row = before; row < images.size(); ++row)
        got.append(images.at(row).fullPath());
    QStringList expected;
    for (const QString &name : added)
        expected.append(path(name));
    got.sort();
    expected.sort();
    QCOMPARE(got, expected);
}

void tst_CImagesModel::batchOfNothing()
{
    QSignalSpy inserted(model.get(), &CImagesModel::rowsInserted);
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);
    QCOMPARE(open({"broken.jpg", "gone.png"}), (QList<bool>{true, false}));
    QCOMPARE(open({}), (QList<bool>{true, false}));
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(counts.count(), 0);
    QCOMPARE(model->rowCount(), 0);
}

void tst_CImagesModel::rowContents()
{
    fill(2);
    for (int row = 0; row < 2; ++row) {
        const CImageInfo info = model->index(row, 1).data(Qt::UserRole).value<CImageInfo>();
        const QImage thumbnail = model->index(row, 0).data(Qt::DisplayRole).value<QImage>();
        const QSize box = info.resolution().scaled(37, 37, Qt::KeepAspectRatio);
        QVERIFY2(thumbnail.size() == box,
                 qPrintable(info.fileName() + " thumbnail is not scaled into 37x37"));
        QCOMPARE(model->index(row, 0).data(Qt::UserRole).value<QImage>(), thumbnail);
        QCOMPARE(model->index(row, 2).data(Qt::UserRole), QVariant(false));
        QCOMPARE(model->indexOfPath(info.fullPath()), row);
    }
    QCOMPARE(model->indexOfPath(path("WIDE.JPG")), -1);
}

void tst_CImagesModel::cellRoles_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("valid");

    QTest::newRow("display of the description column is empty") << 1 << int(Qt::DisplayRole) << false;
    QTest::newRow("display of the action column is empty") << 2 << int(Qt::DisplayRole) << false;
    QTest::newRow("no tool tip") << 1 << int(Qt::ToolTipRole) << false;
    QTest::newRow("no decoration") << 0 << int(Qt::DecorationRole) << false;
    QTest::newRow("no edit value") << 1 << int(Qt::EditRole) << false;
    QTest::newRow("background in every column") << 2 << int(Qt::BackgroundRole) << true;
}

void tst_CImagesModel::cellRoles()
{
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(bool, valid);

    fill(1);
    QCOMPARE(model->index(0, column).data(role).isValid(), valid);
    for (int c = 0; c < model->columnCount(); ++c) {
        QCOMPARE(model->index(0, c).data(Qt::SizeHintRole).toSize(), QSize(41, 41));
        QCOMPARE(model->flags(model->index(0, c)), Qt::ItemFlags(Qt::ItemIsEnabled));
    }
}

void tst_CImagesModel::resizedMarksAndReset()
{
    fill(2);
    const QString source = model->images().at(1).fullPath();
    QSignalSpy resized(model.get(), &CImagesModel::imageResized);
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);

    model->setImageResized(source, "/out/mini_tall.png");
    QCOMPARE(resized.count(), 1);
    QCOMPARE(resized.at(0), (QVariantList{"/out/mini_tall.png", 1}));
    QCOMPARE(model->lastResizedPath(), QString("/out/mini_tall.png"));
    QCOMPARE(model->index(1, 0).data(Qt::BackgroundRole).value<QBrush>(), QBrush(QColor("#f1f1f1")));
    QCOMPARE(model->index(1, 2).data(Qt::UserRole), QVariant(true));
    QCOMPARE(model->index(0, 0).data(Qt::BackgroundRole).value<QBrush>(), QBrush(Qt::white));

    QSignalSpy reset(model.get(), &CImagesModel::modelReset);
    model->resetResizedStates();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(counts.count(), 1);
    QCOMPARE(counts.at(0).at(0).toInt(), 2);
    QCOMPARE(model->index(1, 0).data(Qt::BackgroundRole).value<QBrush>(), QBrush(Qt::white));
    QCOMPARE(model->index(1, 2).data(Qt::UserRole), QVariant(false));
    QCOMPARE(model->lastResizedPath(), QString("/out/mini_tall.png"));
}

void tst_CImagesModel::resizedAfterRowWasDeleted()
{
    fill(2);
    const QString source = model->images().at(0).fullPath();
    QVERIFY(model->removeImage(source));
    QSignalSpy resized(model.get(), &CImagesModel::imageResized);
    QSignalSpy changed(model.get(), &CImagesModel::dataChanged);

    model->setImageResized(source, "/out/mini_wide.jpg");

    QCOMPARE(resized.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, 2).data(Qt::UserRole), QVariant(false));
    QVERIFY2(model->lastResizedPath() == "/out/mini_wide.jpg",
             "the written file must stay reachable through the last-folder button");
}

void tst_CImagesModel::removeImage()
{
    fill(3);
    const QVector<CImageInfo> before = model->images();
    QSignalSpy removed(model.get(), &CImagesModel::rowsRemoved);
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);

    QVERIFY(model->removeImage(before.at(1).fullPath()));

    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 1);
    QCOMPARE(counts.at(0).at(0).toInt(), 2);
    QCOMPARE(model->images().at(0).fullPath(), before.at(0).fullPath());
    QCOMPARE(model->images().at(1).fullPath(), before.at(2).fullPath());
    QCOMPARE(model->indexOfPath(before.at(1).fullPath()), -1);
    QCOMPARE(model->indexOfPath(before.at(2).fullPath()), 1);
}

void tst_CImagesModel::invalidRemovals_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");

    QTest::newRow("negative row") << -1 << 1;
    QTest::newRow("range past the end") << 1 << 2;
    QTest::newRow("row past the end") << 2 << 1;
    QTest::newRow("empty range") << 0 << 0;
    QTest::newRow("negative count") << 0 << -1;
}

void tst_CImagesModel::invalidRemovals()
{
    QFETCH(int, row);
    QFETCH(int, count);

    fill(2);
    QSignalSpy removing(model.get(), &CImagesModel::rowsAboutToBeRemoved);
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);

    QVERIFY(!model->removeRows(row, count));
    QVERIFY(!model->removeImage(path("not-queued.png")));
    QVERIFY(!model->removeRows(0, 1, model->index(0, 0)));

    QCOMPARE(removing.count(), 0);
    QCOMPARE(counts.count(), 0);
    QCOMPARE(model->rowCount(), 2);
}

void tst_CImagesModel::clearQueue()
{
    fill(3);
    QSignalSpy removed(model.get(), &CImagesModel::rowsRemoved);
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);

    model->clear();

    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 0);
    QCOMPARE(removed.at(0).at(2).toInt(), 2);
    QCOMPARE(counts.count(), 1);
    QCOMPARE(counts.at(0).at(0).toInt(), 0);
    QVERIFY(model->images().isEmpty());
}

void tst_CImagesModel::clearEmptyQueue()
{
    QSignalSpy removing(model.get(), &CImagesModel::rowsAboutToBeRemoved);
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);
    model->clear();
    QCOMPARE(removing.count(), 0);
    QCOMPARE(counts.count(), 0);
}

QTEST_GUILESS_MAIN(tst_CImagesModel)
#include "tst_cimagesmodel.moc"
