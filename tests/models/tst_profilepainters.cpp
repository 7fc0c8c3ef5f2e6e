#include "cprofilescombobox.h"
#include "cprofilesdelegate.h"
#include "cprofilesmodel.h"

#include <QAbstractItemView>
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
    void init();
    void cleanup();
    void listEntry_data();
    void listEntry();
    void closedBox_data();
    void closedBox();
    void popupBelowBox();

private:
    QTemporaryDir dir;
    CProfilesModel *model = nullptr;
};

void tst_ProfilePainters::init()
{
    model = new CProfilesModel(dir.filePath("none"));
}

void tst_ProfilePainters::cleanup()
{
    delete model;
}

void tst_ProfilePainters::listEntry_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("color");

    QTest::newRow("selected entry in white") << 0 << true << "#ffffff";
    QTest::newRow("other entry in lilac") << 0 << false << "#a597b5";
    QTest::newRow("manual profile shows no size") << 1 << false << "";
}

void tst_ProfilePainters::listEntry()
{
    QFETCH(int, row);
    QFETCH(bool, selected);
    QFETCH(QString, color);

    QListView view;
    view.setModel(model);
    if (selected)
        view.selectionModel()->select(model->index(row), QItemSelectionModel::Select);
    CProfilesDelegate delegate(&view);

    QImage image(200, 30, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.palette.setColor(QPalette::Text, Qt::black);
    QPainter painter(&image);
    delegate.paint(&painter, option, model->index(row));
    painter.end();

    for (const QString &other : {"#ffffff", "#a597b5"}) {
        if (other != color)
            QCOMPARE(rightmostColumnOf(image, QColor(other)), -1);
    }
    if (color.isEmpty())
        return;
    const int right = rightmostColumnOf(image, QColor(color));
    QVERIFY2(right >= 200 - 25 - 3 && right < 200 - 25,
             qPrintable(QString("size ends at column %1").arg(right)));
}

void tst_ProfilePainters::closedBox_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("sizeShown");

    QTest::newRow("email shows its size") << 0 << true;
    QTest::newRow("manual shows none") << 1 << false;
}

void tst_ProfilePainters::closedBox()
{
    QFETCH(int, row);
    QFETCH(bool, sizeShown);

    CProfilesComboBox box;
    box.setModel(model);
    box.setCurrentIndex(row);
    box.resize(300, 37);
    const QImage image = box.grab().toImage();
    const int right = rightmostColumnOf(image, QColor("#a597b5"));
    if (!sizeShown) {
        QCOMPARE(right, -1);
        return;
    }
    QVERIFY2(right >= 300 - 55 - 3 && right < 300 - 55,
             qPrintable(QString("size ends at column %1").arg(right)));
}

void tst_ProfilePainters::popupBelowBox()
{
    QWidget window;
    window.resize(400, 400);
    CProfilesComboBox box(&window);
    box.setModel(model);
    box.setCurrentIndex(2);
    box.setGeometry(50, 100, 300, 37);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    box.showPopup();
    QFrame *popup = box.findChild<QFrame *>();
    QVERIFY(popup);
    QTRY_VERIFY(popup->isVisible());
    QCOMPARE(popup->pos(), box.mapToGlobal(QPoint(0, box.height())));
    box.hidePopup();
}

QTEST_MAIN(tst_ProfilePainters)
#include "tst_profilepainters.moc"
