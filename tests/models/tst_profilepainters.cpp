#include "cprofilescombobox.h"
#include "cprofilesdelegate.h"
#include "cprofilesmodel.h"

#include <QListView>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The rightmost column that holds a pixel of exactly this colour (the cores of glyphs are not blended),
// or -1.
int rightmostColumnOf(const QImage &image, const QColor &color)
{
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) == color)
                return x;
        }
    }
    return -1;
}
} // namespace

class tst_ProfilePainters : public QObject
{
    Q_OBJECT

private slots:
    void sizeText_data();
    void sizeText();

private:
    QTemporaryDir dir;
    CProfilesModel model{dir.filePath("none")};
};

void tst_ProfilePainters::sizeText_data()
{
    QTest::addColumn<bool>("closedBox");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("color");

    QTest::newRow("list: selected entry in white") << false << 0 << true << "#ffffff";
    QTest::newRow("list: other entry in lilac") << false << 0 << false << "#a597b5";
    QTest::newRow("list: manual profile shows no size") << false << 1 << false << "";
    QTest::newRow("closed box: email shows its size") << true << 0 << false << "#a597b5";
    QTest::newRow("closed box: manual shows none") << true << 1 << false << "";
}

void tst_ProfilePainters::sizeText()
{
    QFETCH(bool, closedBox);
    QFETCH(int, row);
    QFETCH(bool, selected);
    QFETCH(QString, color);

    QImage image;
    int end = 0;
    if (closedBox) {
        CProfilesComboBox box;
        box.setModel(&model);
        box.setCurrentIndex(row);
        box.resize(300, 37);
        image = box.grab().toImage();
        end = 300 - 55;
    } else {
        QListView view;
        view.setModel(&model);
        if (selected)
            view.selectionModel()->select(model.index(row), QItemSelectionModel::Select);
        image = QImage(200, 30, QImage::Format_ARGB32);
        image.fill(Qt::black);
        QStyleOptionViewItem option;
        option.rect = image.rect();
        option.palette.setColor(QPalette::Text, Qt::black);
        QPainter painter(&image);
        CProfilesDelegate(&view).paint(&painter, option, model.index(row));
        end = 200 - 25;
    }

    for (const QString other : {"#ffffff", "#a597b5"}) {
        if (other != color)
            QCOMPARE(rightmostColumnOf(image, QColor(other)), -1);
    }
    if (color.isEmpty())
        return;
    const int right = rightmostColumnOf(image, QColor(color));
    QVERIFY2(right >= end - 3 && right < end, qPrintable(QString("size ends at column %1").arg(right)));
}

QTEST_MAIN(tst_ProfilePainters)
#include "tst_profilepainters.moc"
