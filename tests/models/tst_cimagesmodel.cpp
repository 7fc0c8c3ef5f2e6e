#include "cimagesmodel.h"
#include "testimages.h"

#include <QBrush>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_CImagesModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void openImages_data();
    void openImages();
    void removeRows_data();
    void removeRows();

private:
    QStringList paths(QStringList names) const;
    // Opens a batch and waits for its end.
    void open(const QStringList &names);

    QTemporaryDir dir;
    std::unique_ptr<CImagesModel> model;
};

void tst_CImagesModel::initTestCase()
{
    for (const QString name : {"wide.jpg", "tall.png", "small.bmp", "a.png", "b.png"})
        QVERIFY(!TestImages::write(dir.filePath(name), QSize(8, 6)).isEmpty());
    QFile broken(dir.filePath("broken.jpg"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("this is no picture");
}

void tst_CImagesModel::init()
{
    model.reset(new CImagesModel);
    open({"wide.jpg", "tall.png", "small.bmp"});
    QCOMPARE(model->rowCount(), 3);
}

QStringList tst_CImagesModel::paths(QStringList names) const
{
    for (QString &name : names)
        name = dir.filePath(name);
    return names;
}

void tst_CImagesModel::open(const QStringList &names)
{
    QSignalSpy opening(model.get(), &CImagesModel::imagesIsOpening);
    model->openImages(paths(names));
    QTRY_COMPARE_WITH_TIMEOUT(opening.count(), 2, 10000);
}

void tst_CImagesModel::openImages_data()
{
    QTest::addColumn<QStringList>("batch");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("leftOut");

    QTest::newRow("undecodable file in the middle is left out")
        << QStringList{"a.png", "broken.jpg", "b.png"} << QStringList{"a.png", "b.png"}
        << QStringList{"broken.jpg"};
    QTest::newRow("already queued path is skipped without a word")
        << QStringList{"wide.jpg", "a.png"} << QStringList{"a.png"} << QStringList();
    QTest::newRow("same path twice in one call gives one row")
        << QStringList{"b.png", "a.png", "b.png"} << QStringList{"b.png", "a.png"} << QStringList();
    QTest::newRow("nothing that opens adds no rows")
        << QStringList{"gone.png", "broken.jpg"} << QStringList() << QStringList{"broken.jpg", "gone.png"};
}

void tst_CImagesModel::openImages()
{
    QFETCH(QStringList, batch);
    QFETCH(QStringList, added);
    QFETCH(QStringList, leftOut);

    QSignalSpy inserted(model.get(), &CImagesModel::rowsInserted);
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);
    QSignalSpy told(model.get(), &CImagesModel::imagesLeftOut);

    open(batch);

    // Each file left out is named with the reason, after the busy state has ended.
    QCOMPARE(told.count(), leftOut.isEmpty() ? 0 : 1);
    // In the order the workers finished: sorted, as the rows name them.
    QStringList lines = told.isEmpty() ? QStringList() : told.at(0).at(0).toStringList();
    lines.sort();
    QCOMPARE(lines.size(), leftOut.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(lines.at(i).section(": ", 0, 0) == dir.filePath(leftOut.at(i)) &&
                     !lines.at(i).endsWith(": "),
                 qPrintable(lines.at(i)));

    QCOMPARE(inserted.count(), added.isEmpty() ? 0 : 1);
    QCOMPARE(counts.count(), added.isEmpty() ? 0 : 1);
    QCOMPARE(model->rowCount(), 3 + added.size());
    // Workers deliver in any order, so compare the new rows as a set.
    QStringList got;
    for (const CImageInfo &info : model->images().mid(3))
        got.append(info.fullPath());
    QStringList expected = paths(added);
    got.sort();
    expected.sort();
    QCOMPARE(got, expected);
}

void tst_CImagesModel::removeRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("done");

    QTest::newRow("first row") << 0 << 1 << true;
    QTest::newRow("middle row") << 1 << 1 << true;
    QTest::newRow("last row") << 2 << 1 << true;
    QTest::newRow("every row") << 0 << 3 << true;
    QTest::newRow("range past the end") << 2 << 2 << false;
    QTest::newRow("negative row") << -1 << 1 << false;
    QTest::newRow("empty range") << 0 << 0 << false;
}

// The path index must follow every removal: the engine marks rows by path while the user deletes rows.
// Every row, gone or not, is then marked as written.
void tst_CImagesModel::removeRows()
{
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(bool, done);

    const QVector<CImageInfo> before = model->images();
    QSignalSpy counts(model.get(), &CImagesModel::rowsCountChanged);
    QSignalSpy resized(model.get(), &CImagesModel::imageResized);

    QCOMPARE(model->removeRows(row, count), done);

    QVector<CImageInfo> left = before;
    if (done)
        left.remove(row, count);
    QCOMPARE(counts.count(), done ? 1 : 0);
    QCOMPARE(model->rowCount(), left.size());
    for (int i = 0; i < before.size(); ++i) {
        const bool gone = done && i >= row && i < row + count;
        const QString source = before.at(i).fullPath();
        model->setImageResized(source, "/out/" + before.at(i).fileName());
        QVERIFY2(model->lastResizedPath() == "/out/" + before.at(i).fileName(),
                 "a file written for a deleted row must stay reachable through the last-folder button");
        const int at = gone ? -1 : i - (done && i >= row ? count : 0);
        QCOMPARE(model->indexOfPath(source), at);
        if (!gone)
            QCOMPARE(resized.takeFirst(), (QVariantList{"/out/" + before.at(i).fileName(), at}));
    }
    QVERIFY2(resized.isEmpty(), "a deleted row was marked");
    const auto band = [this](int i) { return model->index(i, 1).data(Qt::BackgroundRole).value<QBrush>(); };
    for (int i = 0; i < left.size(); ++i) {
        QCOMPARE(model->images().at(i).fullPath(), left.at(i).fullPath());
        QCOMPARE(band(i), QBrush(QColor("#f1f1f1")));
    }

    // As after a cancelled run: every row waits again, and the last folder stays reachable.
    counts.clear();
    model->resetResizedStates();
    QCOMPARE(counts.count(), 1);
    for (int i = 0; i < left.size(); ++i) {
        QCOMPARE(model->index(i, 2).data(Qt::UserRole), QVariant(false));
        QCOMPARE(band(i), QBrush(Qt::white));
    }
    QCOMPARE(model->lastResizedPath(), "/out/" + before.last().fileName());
}

QTEST_GUILESS_MAIN(tst_CImagesModel)
#include "tst_cimagesmodel.moc"
