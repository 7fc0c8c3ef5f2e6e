#include <QImage>
#include <QImageReader>
#include <QtTest>

namespace {

const char *const allPictures[] = {"addbig.png",
                                   "addbighigh.png",
                                   "addbigpress.png",
                                   "addfolder.png",
                                   "addfolderhigh.png",
                                   "addfolderpress.png",
                                   "addphoto.png",
                                   "addphotohigh.png",
                                   "addphotopress.png",
                                   "AppIconBrindle16.png",
                                   "AppIconBrindle256.ico",
                                   "AppIconBrindle256.png",
                                   "AppIconBrindle32.png",
                                   "AppIconBrindle48.png",
                                   "back.png",
                                   "backhight.png",
                                   "BrindleNarez_71.png",
                                   "BrindleNarez_73.png",
                                   "BrindleNarez_79.png",
                                   "BrindleNarez_80.png",
                                   "BrindleNarez_91.png",
                                   "BrindleNarez_92.png",
                                   "buttongray.png",
                                   "buttongraypress.png",
                                   "buttongreen.png",
                                   "buttongreenpress.png",
                                   "buttonred.png",
                                   "buttonredpress.png",
                                   "cancelbutton.png",
                                   "cancelbuttonhigh.png",
                                   "cancelprogress.png",
                                   "cancelprogresshigh.png",
                                   "CheckBoxCheckedFocus.png",
                                   "CheckBoxCheckedNormal.png",
                                   "CheckBoxCheckedPressed.png",
                                   "CheckBoxFocus.png",
                                   "CheckBoxNormal.png",
                                   "CheckBoxPressed.png",
                                   "clearfullbuton.png",
                                   "clearfullbutonpress.png",
                                   "close.png",
                                   "closehigh.png",
                                   "closewhite.png",
                                   "congrbg.png",
                                   "delete.png",
                                   "deletehigh.png",
                                   "deletepressed.png",
                                   "deleteselect.png",
                                   "dndzone.png",
                                   "dopbg.png",
                                   "dots.gif",
                                   "folderfullbutton.png",
                                   "folderfullbuttonpress.png",
                                   "help.png",
                                   "helphigh.png",
                                   "helppress.png",
                                   "icon16.png",
                                   "loading0.gif",
                                   "Logo_03.png",
                                   "mainbg.png",
                                   "minimize.png",
                                   "minimizehigh.png",
                                   "openfolderbutton.png",
                                   "openfolderbuttonhigh.png",
                                   "opfolder.png",
                                   "opfolderhight.png",
                                   "opfolderpressed.png",
                                   "opfolderselect.png",
                                   "pauseprogress.png",
                                   "pauseprogresshight.png",
                                   "progressclear.png",
                                   "progressfill.png",
                                   "resizebutton.png",
                                   "resizebuttonhigh.png",
                                   "resizefullbutton.png",
                                   "resizefullbuttonpress.png",
                                   "resumeprogress.png",
                                   "resumeprogresshigh.png",
                                   "settings.png",
                                   "settingshigh.png",
                                   "settingspress.png",
                                   "shadow_loading.png",
                                   "shadow_main.png",
                                   "shadow_modal.png",
                                   "shotip.png",
                                   "shotiphigh.png",
                                   "splash.png",
                                   "tamarind.png",
                                   "tamarindhigh.png"};

QString resource(const QString &name)
{
    return QStringLiteral(":/Images/") + name;
}

QImage load(const QString &name)
{
    return QImage(resource(name)).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class tst_Resources : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureLoads_data();
    void everyPictureLoads();
    void bundleHoldsNoStrayPictures();
    void animationsHaveSeveralFrames_data();
    void animationsHaveSeveralFrames();
    void sizeFitsItsWidget_data();
    void sizeFitsItsWidget();
    void stateVariantDiffers_data();
    void stateVariantDiffers();
    void shadowIsClearWhereTheBodySits_data();
    void shadowIsClearWhereTheBodySits();
};

void tst_Resources::everyPictureLoads_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : allPictures)
        QTest::newRow(name) << QString::fromLatin1(name);
    // The queue's folder button asks for the hover picture under this second spelling.
    QTest::newRow("opfolderhigh.png alias") << QStringLiteral("opfolderhigh.png");
}

void tst_Resources::everyPictureLoads()
{
    QFETCH(QString, name);
    QImageReader reader(resource(name));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(name + QStringLiteral(": ") + reader.errorString()));
}

void tst_Resources::bundleHoldsNoStrayPictures()
{
    QStringList expected;
    for (const char *name : allPictures)
        expected << QString::fromLatin1(name);
    expected << QStringLiteral("opfolderhigh.png");
    expected.sort(Qt::CaseInsensitive);
    QStringList present = QDir(QStringLiteral(":/Images")).entryList(QDir::Files);
    present.sort(Qt::CaseInsensitive);
    QCOMPARE(present, expected);
}

void tst_Resources::animationsHaveSeveralFrames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("splash dots") << QStringLiteral("dots.gif");
    QTest::newRow("busy overlay") << QStringLiteral("loading0.gif");
}

void tst_Resources::animationsHaveSeveralFrames()
{
    QFETCH(QString, name);
    QImageReader reader(resource(name));
    QCOMPARE(reader.format(), QByteArray("gif"));
    QVERIFY2(reader.supportsAnimation(), "the file reads as a still picture");
    int frames = 0;
    QSet<QByteArray> looks;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read(), ++frames)
        looks.insert(QByteArray(reinterpret_cast<const char *>(frame.constBits()), int(frame.sizeInBytes())));
    QVERIFY2(frames > 1, qPrintable(QStringLiteral("%1 frame(s)").arg(frames)));
    QVERIFY2(looks.size() > 1, "every frame looks the same, so nothing moves");
    QVERIFY2(reader.loopCount() != 0, "the animation plays once and stops");
}

void tst_Resources::sizeFitsItsWidget_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("main panel body") << "mainbg.png" << QSize(703, 466);
    QTest::newRow("main window shadow") << "shadow_main.png" << QSize(742, 504);
    QTest::newRow("dialog shadow") << "shadow_modal.png" << QSize(420, 212);
    QTest::newRow("splash shadow") << "shadow_loading.png" << QSize(401, 217);
    QTest::newRow("settings panel") << "dopbg.png" << QSize(547, 466);
    QTest::newRow("completion body") << "congrbg.png" << QSize(381, 173);
    QTest::newRow("resize button") << "buttongreen.png" << QSize(182, 42);
    QTest::newRow("resize button pressed") << "buttongreenpress.png" << QSize(182, 42);
    QTest::newRow("clear button") << "buttongray.png" << QSize(182, 42);
    QTest::newRow("cancel button") << "buttonred.png" << QSize(75, 42);
    QTest::newRow("resize button icon border") << "resizefullbutton.png" << QSize(38, 42);
    QTest::newRow("clear button icon border") << "clearfullbutonpress.png" << QSize(38, 42);
    QTest::newRow("pause") << "pauseprogress.png" << QSize(30, 30);
    QTest::newRow("resume hover") << "resumeprogresshigh.png" << QSize(30, 30);
    QTest::newRow("cancel run") << "cancelprogress.png" << QSize(30, 30);
    QTest::newRow("close") << "close.png" << QSize(45, 19);
    QTest::newRow("close on dark panel") << "closewhite.png" << QSize(45, 19);
    QTest::newRow("minimise") << "minimizehigh.png" << QSize(26, 19);
    QTest::newRow("back arrow") << "backhight.png" << QSize(30, 30);
    QTest::newRow("check box") << "CheckBoxNormal.png" << QSize(16, 16);
    QTest::newRow("check box checked pressed") << "CheckBoxCheckedPressed.png" << QSize(16, 16);
    QTest::newRow("info sign") << "shotip.png" << QSize(18, 18);
    QTest::newRow("title icon") << "icon16.png" << QSize(16, 16);
    QTest::newRow("app icon 16") << "AppIconBrindle16.png" << QSize(16, 16);
    QTest::newRow("app icon 32") << "AppIconBrindle32.png" << QSize(32, 32);
    QTest::newRow("app icon 48") << "AppIconBrindle48.png" << QSize(48, 48);
    QTest::newRow("app icon 256") << "AppIconBrindle256.png" << QSize(256, 256);
    QTest::newRow("app icon file, largest entry") << "AppIconBrindle256.ico" << QSize(256, 256);
    QTest::newRow("big add button, 46 high") << "addbig.png" << QSize(46, 46);
    QTest::newRow("bar button icon") << "addphoto.png" << QSize(30, 30);
}

void tst_Resources::sizeFitsItsWidget()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QImageReader reader(resource(name));
    QSize largest;
    // An icon file holds several sizes; the reader gives them one after the other.
    do {
        const QSize current = reader.read().size();
        if (current.width() > largest.width())
            largest = current;
    } while (reader.jumpToNextImage());
    QCOMPARE(largest, size);
}

void tst_Resources::stateVariantDiffers_data()
{
    QTest::addColumn<QString>("normal");
    QTest::addColumn<QString>("variant");
    const char *const pairs[][2] = {{"addbig", "addbighigh"},
                                    {"addbig", "addbigpress"},
                                    {"addbighigh", "addbigpress"},
                                    {"addfolder", "addfolderhigh"},
                                    {"addfolder", "addfolderpress"},
                                    {"addphoto", "addphotohigh"},
                                    {"addphoto", "addphotopress"},
                                    {"help", "helphigh"},
                                    {"help", "helppress"},
                                    {"settings", "settingshigh"},
                                    {"settings", "settingspress"},
                                    {"tamarind", "tamarindhigh"},
                                    {"backhight", "back"},
                                    {"buttongray", "buttongraypress"},
                                    {"buttongreen", "buttongreenpress"},
                                    {"buttonred", "buttonredpress"},
                                    {"cancelbutton", "cancelbuttonhigh"},
                                    {"cancelprogress", "cancelprogresshigh"},
                                    {"pauseprogress", "pauseprogresshight"},
                                    {"resumeprogress", "resumeprogresshigh"},
                                    {"pauseprogress", "resumeprogress"},
                                    {"CheckBoxNormal", "CheckBoxFocus"},
                                    {"CheckBoxNormal", "CheckBoxPressed"},
                                    {"CheckBoxFocus", "CheckBoxPressed"},
                                    {"CheckBoxCheckedNormal", "CheckBoxCheckedFocus"},
                                    {"CheckBoxCheckedNormal", "CheckBoxCheckedPressed"},
                                    {"CheckBoxNormal", "CheckBoxCheckedNormal"},
                                    {"clearfullbuton", "clearfullbutonpress"},
                                    {"resizefullbutton", "resizefullbuttonpress"},
                                    {"folderfullbutton", "folderfullbuttonpress"},
                                    {"close", "closehigh"},
                                    {"minimize", "minimizehigh"},
                                    {"delete", "deletehigh"},
                                    {"delete", "deletepressed"},
                                    {"opfolder", "opfolderhight"},
                                    {"opfolder", "opfolderpressed"},
                                    {"openfolderbutton", "openfolderbuttonhigh"},
                                    {"resizebutton", "resizebuttonhigh"},
                                    {"shotip", "shotiphigh"}};
    for (const auto &pair : pairs)
        QTest::addRow("%s / %s", pair[0], pair[1])
            << QString::fromLatin1(pair[0]) + ".png" << QString::fromLatin1(pair[1]) + ".png";
}

// A variant counts as visibly different when a fair share of its pixels moved by more than a hair.
void tst_Resources::stateVariantDiffers()
{
    QFETCH(QString, normal);
    QFETCH(QString, variant);
    const QImage a = load(normal);
    const QImage b = load(variant);
    QCOMPARE(b.size(), a.size());
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int distance = qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                                 qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q));
            if (distance > 40)
                ++changed;
        }
    }
    const int share = changed * 100 / (a.width() * a.height());
    QVERIFY2(share >= 5, qPrintable(QStringLiteral("only %1% of the pixels change").arg(share)));
}

void tst_Resources::shadowIsClearWhereTheBodySits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("body");
    QTest::newRow("main window") << "shadow_main.png" << QRect(19, 19, 703, 466);
    QTest::newRow("dialogs") << "shadow_modal.png" << QRect(19, 19, 381, 173);
    QTest::newRow("splash") << "shadow_loading.png" << QRect(19, 19, 363, 179);
}

// The body is drawn over the shadow by another widget; shadow left under it would darken its edges.
void tst_Resources::shadowIsClearWhereTheBodySits()
{
    QFETCH(QString, name);
    QFETCH(QRect, body);
    const QImage image = load(name);
    const QRect inner = body.adjusted(8, 8, -8, -8);
    for (const QPoint &p : {inner.topLeft(), inner.center(), inner.bottomRight(), inner.topRight()})
        QVERIFY2(qAlpha(image.pixel(p)) == 0,
                 qPrintable(QStringLiteral("shadow under the body at %1,%2").arg(p.x()).arg(p.y())));
    const QPoint below(body.center().x(), body.bottom() + 4);
    QVERIFY2(qAlpha(image.pixel(below)) > 0, "no shadow below the body");
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

QTEST_GUILESS_MAIN(tst_Resources)
#include "tst_resources.moc"
