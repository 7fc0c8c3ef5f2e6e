#include "cimagesmodel.h"
#include "cimagestabledelegate.h"
#include "imagedescription.h"
#include "testimages.h"

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

// Columns and rows that hold anything but the background colour.
QRect inkedArea(const QImage &image, const QColor &background)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != background)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}
} // namespace

class tst_CImagesTableDelegate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void description_data();
    void description();
    void thumbnailCentred();
    void backgroundBand_data();
    void backgroundBand();
    void descriptionInCell();

private:
    QImage paintCell(int column, const QSize &cell, const QColor &fill);

    QTemporaryDir dir;
    CImagesModel model;
    QTableView view;
    CImageInfo info;
};

void tst_CImagesTableDelegate::initTestCase()
{
    QVERIFY(dir.isValid());
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

QImage tst_CImagesTableDelegate::paintCell(int column, const QSize &cell, const QColor &fill)
{
    CImagesTableDelegate delegate;
    QImage image(cell, QImage::Format_RGB32);
    image.fill(fill);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.rect = image.rect();
    QPainter painter(&image);
    delegate.paint(&painter, option, model.index(0, column));
    return image;
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

    const QStaticText text = imageDescription(info, width);
    QCOMPARE(text.text(), markup(name, info));
    QCOMPARE(text.textFormat(), Qt::RichText);
    QCOMPARE(text.textOption().wrapMode(), QTextOption::NoWrap);
}

void tst_CImagesTableDelegate::thumbnailCentred()
{
    const QImage image = paintCell(0, QSize(60, 41), sentinel);
    QRect blue;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.blue() > 200 && pixel.red() < 50)
                blue |= QRect(x, y, 1, 1);
        }
    }
    QCOMPARE(blue, QRect(11, 10, 37, 20));
}

void tst_CImagesTableDelegate::backgroundBand_data()
{
    QTest::addColumn<bool>("resized");
    QTest::addColumn<QColor>("band");

    QTest::newRow("waiting row is white") << false << QColor(Qt::white);
    QTest::newRow("resized row is light grey") << true << QColor("#f1f1f1");
}

void tst_CImagesTableDelegate::backgroundBand()
{
    QFETCH(bool, resized);
    QFETCH(QColor, band);

    if (resized)
        model.setImageResized(info.fullPath(), dir.filePath("mini_out.png"));
    else
        model.resetResizedStates();
    const QImage image = paintCell(2, QSize(50, 41), sentinel);
    for (int x = 0; x < image.width(); ++x) {
        QCOMPARE(image.pixelColor(x, 0), sentinel);
        for (int y = 1; y < 39; ++y)
            QCOMPARE(image.pixelColor(x, y), band);
        QCOMPARE(image.pixelColor(x, 39), sentinel);
        QCOMPARE(image.pixelColor(x, 40), QColor("#ababab"));
    }
}

void tst_CImagesTableDelegate::descriptionInCell()
{
    model.resetResizedStates();
    const int fullWidth = naturalWidth(markup(longName, info));
    const QSize wide(fullWidth + 16 + 50, 41);
    const QSize narrow(fullWidth / 2 + 16, 41);
    // Column 1 only: the bottom separator rows are not part of the text.
    const QRect wideText = inkedArea(paintCell(1, wide, Qt::white).copy(0, 1, wide.width(), 38), Qt::white);
    const QRect narrowText =
        inkedArea(paintCell(1, narrow, Qt::white).copy(0, 1, narrow.width(), 38), Qt::white);

    QVERIFY2(wideText.left() >= 16 && wideText.left() <= 18,
             qPrintable(QString("text starts at column %1").arg(wideText.left())));
    QVERIFY2(qAbs((wideText.top() + 1) - (40 - wideText.bottom())) <= 4, "the text block is not centred");
    QVERIFY2(wideText.right() > narrow.width(), "the full name is wider than the narrow cell");
    QVERIFY2(narrowText.right() < narrow.width(),
             qPrintable(QString("shortened text ends at column %1").arg(narrowText.right())));
    QVERIFY2(narrowText.left() >= 16 && narrowText.left() <= 18,
             qPrintable(QString("shortened text starts at column %1").arg(narrowText.left())));
}

QTEST_MAIN(tst_CImagesTableDelegate)
#include "tst_cimagestabledelegate.moc"
