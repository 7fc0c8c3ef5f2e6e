#include <QDirIterator>
#include <QFile>
#include <QImageReader>
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

} // namespace

class tst_ShippedFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyKeyIsTranslated_data();
    void everyKeyIsTranslated();
    void everyNamedPictureLoads();

private:
    QTemporaryDir work;
    Catalogue codeKeys;
};

void tst_ShippedFiles::initTestCase()
{
    QVERIFY(work.isValid());
    const QString ts = work.filePath(QStringLiteral("code.ts"));
    QProcess lupdate;
    lupdate.start(QLibraryInfo::location(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate"),
                  {QStringLiteral("-silent"), QStringLiteral("-recursive"), QStringLiteral("-extensions"),
                   QStringLiteral("h,cpp,ui"), QStringLiteral(BRINDLE_SOURCE_DIR "/gui"),
                   QStringLiteral("-ts"), ts});
    QVERIFY2(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0,
             qPrintable(QStringLiteral("lupdate failed: ") + lupdate.readAllStandardError()));
    codeKeys = readTs(ts);
    QVERIFY2(codeKeys.contains({QStringLiteral("QObject"), QStringLiteral("t_error")}),
             "lupdate found not even the error box title; the key collection is broken");
}

void tst_ShippedFiles::everyKeyIsTranslated_data()
{
    QTest::addColumn<QString>("tsFile");
    QTest::newRow("English") << QStringLiteral("BrindleGUI_en.ts");
    QTest::newRow("German") << QStringLiteral("BrindleGUI_de.ts");
    QTest::newRow("Russian") << QStringLiteral("BrindleGUI_ru.ts");
}

void tst_ShippedFiles::everyKeyIsTranslated()
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

// A picture a form or the code names but the bundle lacks or cannot read leaves its widget bare without a
// word.
void tst_ShippedFiles::everyNamedPictureLoads()
{
    QStringList faults;
    int named = 0;
    const QRegularExpression reference(QStringLiteral(":/Images/[A-Za-z0-9_.]+\\.(png|gif|ico)"));
    QDirIterator sources(QStringLiteral(BRINDLE_SOURCE_DIR "/gui"), {"*.ui", "*.cpp", "*.h"}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        QFile file(sources.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        auto it = reference.globalMatch(QString::fromUtf8(file.readAll()));
        for (; it.hasNext(); ++named) {
            QImageReader reader(it.next().captured());
            if (reader.read().isNull())
                faults << QFileInfo(file.fileName()).fileName() + QLatin1Char(':') + reader.fileName() + ' ' +
                              reader.errorString();
        }
    }
    QVERIFY2(named > 50, "the sources name hardly any picture; the search is broken");
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

QTEST_GUILESS_MAIN(tst_ShippedFiles)
#include "tst_shippedfiles.moc"
