#include <QFile>
#include <QLibraryInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// Context and source key to translation; an unfinished entry counts as empty.
using Catalogue = QMap<QPair<QString, QString>, QString>;

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
            const bool finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
            const QString text = xml.readElementText();
            catalogue.insert({context, source}, finished ? text : QString());
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
        else if (found->isEmpty())
            faults << name + QStringLiteral(" (not finished)");
        else if (placeholders(*found) != placeholders(it.key().second))
            faults << name + QStringLiteral(" (placeholders differ: \"%1\")").arg(*found);
    }
    QVERIFY2(faults.isEmpty(),
             qPrintable(tsFile + QStringLiteral(": ") + faults.join(QStringLiteral("; ")) +
                        QStringLiteral(". Run scripts/update-translations.sh and fill in the entries.")));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
