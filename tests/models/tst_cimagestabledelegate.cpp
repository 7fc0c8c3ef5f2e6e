#include "cimagesmodel.h"
#include "cimagestabledelegate.h"
#include "imagedescription.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtMath>
#include <QtTest>

namespace {
const QString longName = "a_rather_long_file_name_for_the_queue.png";
const QColor sentinel(255, 0, 0);

QString markup(const QString &name, const CImageInfo &info)
{
    return "<span style=\"color:#666666;font-size: 13px;\">" + name + "<br><span style=\"color:#744ea7\">[" +
           info.extension() + ", " + info.getResolutionString() + ", " + info.getSizeString() +
           " MB]</span></span>";
}

int naturalWidth(const QString &text)
{
    QStaticText probe(text);
    probe.setTextFormat(Qt::RichText);
    return qCeil(probe.size().width());
}

} // namespace

class tst_CImagesTableDelegate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void description_data();
    void description();
    void thumbnailOnBand_data();
    void thumbnailOnBand();

private:
    QTemporaryDir dir;
    CImagesModel model;
    QTableView view;
    CImageInfo info;
};

void tst_CImagesTableDelegate::initTestCase()
{
    QImage blue(74, 40, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    QVERIFY(blue.save(dir.filePath(longName)));
    QSignalSpy opening(&model, &CImagesModel::imagesIsOpening);
    model.openImages({dir.filePath(longName)});
    QTRY_COMPARE(opening.count(), 2);
    QCOMPARE(model.rowCount(), 1);
    info = model.images().first();
    // The queue table's separator line; the band must leave it alone.
    view.setStyleSheet("QTableView::item { border-bottom: 1px solid #ababab; }");
    view.setModel(&model);
}

void tst_CImagesTableDelegate::description_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("name");

    const QString full = markup(longName, info);
    QTest::newRow("wide cell keeps the name") << naturalWidth(full) + 100 << longName;
    QTest::newRow("name that fits exactly keeps it") << naturalWidth(full) << longName;
    const QString fiveShorter = longName.left(longName.size() - 5);
    QTest::newRow("five characters too wide loses eight")
        << naturalWidth(markup(fiveShorter, info)) << longName.left(longName.size() - 8) + "...";
    QTest::newRow("cell narrower than the details line") << 10 << QString("...");
}

void tst_CImagesTableDelegate::description()
{
    QFETCH(int, width);
    QFETCH(QString, name);
    QCOMPARE(imageDescription(info, width).text(), markup(name, info));
}

void tst_CImagesTableDelegate::thumbnailOnBand_data()
{
    QTest::addColumn<bool>("resized");
    QTest::addColumn<QColor>("band");

    QTest::newRow("resized row is light grey") << true << QColor("#f1f1f1");
    QTest::newRow("row reset after a cancel is white") << false << QColor(Qt::white);
}

void tst_CImagesTableDelegate::thumbnailOnBand()
{
    QFETCH(bool, resized);
    QFETCH(QColor, band);

    if (resized)
        model.setImageResized(info.fullPath(), dir.filePath("mini_out.png"));
    else
        model.resetResizedStates();
    // The thumbnail, scaled into 37 x 37, sits centred on the band.
    const QRect thumbnail(11, 10, 37, 20);
    QImage image(60, 41, QImage::Format_RGB32);
    image.fill(sentinel);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.rect = image.rect();
    QPainter painter(&image);
    CImagesTableDelegate().paint(&painter, option, model.index(0, 0));
    painter.end();
    for (int x = 0; x < image.width(); ++x) {
        QCOMPARE(image.pixelColor(x, 0), sentinel);
        for (int y = 1; y < 39; ++y)
            QCOMPARE(image.pixelColor(x, y), thumbnail.contains(x, y) ? QColor(0, 0, 255) : band);
        QCOMPARE(image.pixelColor(x, 39), sentinel);
        QCOMPARE(image.pixelColor(x, 40), QColor("#ababab"));
    }
}

QTEST_MAIN(tst_CImagesTableDelegate)
#include "tst_cimagestabledelegate.moc"
