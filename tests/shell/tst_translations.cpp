#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Entry
{
    QString translation;
    QString type;
};

using Catalogue = QMap<QPair<QString, QString>, Entry>;

QString binTranslations()
{
    return QStringLiteral(BRINDLE_BIN_DIR "/Translations");
}

Catalogue readTs(const QString &path)
{
    Catalogue catalogue;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return catalogue;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QStringLiteral("type")).toString();
            catalogue.insert({context, source}, {xml.readElementText(), type});
        }
    }
    return catalogue;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    auto it = QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

QString lupdatePath()
{
    const QString qtBin = QLibraryInfo::location(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
    return QFile::exists(qtBin) ? qtBin : QStringLiteral("/usr/lib/qt5/bin/lupdate");
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyKeyIsTranslated_data();
    void everyKeyIsTranslated();
    void compiledTexts_data();
    void compiledTexts();
    void fileLookup_data();
    void fileLookup();

private:
    QTemporaryDir work;
    Catalogue codeKeys;
};

void TestTranslations::initTestCase()
{
    QVERIFY(work.isValid());
    const QString ts = work.filePath(QStringLiteral("code.ts"));
    QProcess lupdate;
    lupdate.start(lupdatePath(), {QStringLiteral("-silent"), QStringLiteral("-recursive"),
                                  QStringLiteral("-extensions"), QStringLiteral("h,cpp,ui"),
                                  QStringLiteral(BRINDLE_SOURCE_DIR "/gui"), QStringLiteral("-ts"), ts});
    QVERIFY2(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0,
             qPrintable(QStringLiteral("lupdate failed: ") + lupdate.readAllStandardError()));
    codeKeys = readTs(ts);
    QVERIFY2(codeKeys.contains({QStringLiteral("QObject"), QStringLiteral("t_error")}),
             "lupdate found not even the error box title; the key collection is broken");
}

void TestTranslations::everyKeyIsTranslated_data()
{
    QTest::addColumn<QString>("tsFile");
    QTest::newRow("English") << QStringLiteral("BrindleGUI_en.ts");
    QTest::newRow("German") << QStringLiteral("BrindleGUI_de.ts");
    QTest::newRow("Russian") << QStringLiteral("BrindleGUI_ru.ts");
}

void TestTranslations::everyKeyIsTranslated()
{
    QFETCH(QString, tsFile);
    const Catalogue shipped = readTs(QStringLiteral(BRINDLE_SOURCE_DIR "/translations/") + tsFile);
    QVERIFY2(!shipped.isEmpty(), qPrintable(tsFile + QStringLiteral(" is missing or unreadable")));

    QStringList faults;
    for (auto it = codeKeys.cbegin(); it != codeKeys.cend(); ++it) {
        const QString name = it.key().first + QStringLiteral("::") + it.key().second;
        const auto found = shipped.constFind(it.key());
        if (found == shipped.cend())
            faults << name + QStringLiteral(" (missing)");
        else if (!found->type.isEmpty() || found->translation.isEmpty())
            faults << name + QStringLiteral(" (not finished)");
        else if (placeholders(found->translation) != placeholders(it.key().second))
            faults << name + QStringLiteral(" (placeholders differ: \"") + found->translation +
                          QLatin1Char('"') + QLatin1Char(')');
    }
    QVERIFY2(faults.isEmpty(),
             qPrintable(tsFile + QStringLiteral(": ") + faults.join(QStringLiteral("; ")) +
                        QStringLiteral(". Run scripts/update-translations.sh and fill in the entries.")));
}

void TestTranslations::compiledTexts_data()
{
    QTest::addColumn<QString>("qmFile");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    const QString en = QStringLiteral("BrindleGUI_en.qm");
    const QString de = QStringLiteral("BrindleGUI_de.qm");
    const QString ru = QStringLiteral("BrindleGUI_ru.qm");
    QTest::newRow("English question reads as a sentence")
        << en << "ResizeWidget"
        << "t_resize_question %1" << QStringList{"5"} << "Resize 5 images?";
    QTest::newRow("English speed carries its unit") << en << "ResizeWidget"
                                                    << "t_speed %1" << QStringList{"320"} << "320 KB/s";
    QTest::newRow("German splash") << de << "StartSplash"
                                   << "t_loading" << QStringList() << "Wird geladen";
    QTest::newRow("Russian count keeps the order of its numbers")
        << ru << "ResizeWidget"
        << "t_resized_count %1 %2" << QStringList{"3", "7"} << "Готово 3 из 7";
    QTest::newRow("key with an apostrophe")
        << de << "QObject"
        << "e_cann't_read_profile" << QStringList() << "Eine Größenprofil-Datei kann nicht gelesen werden.";
    QTest::newRow("generic file is English") << "BrindleGUI.qm"
                                             << "MainWindow"
                                             << "b_add_folder" << QStringList() << "Add folder";
}

void TestTranslations::compiledTexts()
{
    QFETCH(QString, qmFile);
    QFETCH(QString, context);
    QFETCH(QString, key);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);

    QTranslator translator;
    QVERIFY2(translator.load(binTranslations() + QLatin1Char('/') + qmFile),
             qPrintable(qmFile + QStringLiteral(" was not built into ") + binTranslations()));
    QString text = translator.translate(context.toUtf8().constData(), key.toUtf8().constData());
    for (const QString &argument : qAsConst(arguments))
        text = text.arg(argument);
    QCOMPARE(text, expected);
}

void TestTranslations::fileLookup_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");

    const QStringList all{"BrindleGUI.qm", "BrindleGUI_en.qm", "BrindleGUI_de.qm", "BrindleGUI_ru.qm"};
    QTest::newRow("C locale gets English") << "C" << all << "Add folder";
    QTest::newRow("French gets English") << "fr_FR" << all << "Add folder";
    QTest::newRow("de_DE falls back to de")
        << "de_DE" << QStringList{"BrindleGUI_de.qm"} << "Ordner hinzufügen";
    QTest::newRow("exact file wins") << "ru_RU" << all << "Добавить папку";
    QTest::newRow("no file leaves the key") << "fr_FR" << QStringList{"BrindleGUI_de.qm"} << "b_add_folder";
}

// The file name is formed the way the program forms it: folder + "/BrindleGUI_" + locale name.
void TestTranslations::fileLookup()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const QString &file : qAsConst(files))
        QVERIFY2(QFile::copy(binTranslations() + QLatin1Char('/') + file, folder.filePath(file)),
                 qPrintable(file));

    QTranslator translator;
    translator.load(folder.path() + QStringLiteral("/BrindleGUI_") + locale);
    const QString text = translator.translate("MainWindow", "b_add_folder");
    QCOMPARE(text.isEmpty() ? QStringLiteral("b_add_folder") : text, expected);
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
