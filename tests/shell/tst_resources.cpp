#include <QDirIterator>
#include <QImageReader>
#include <QRegularExpression>
#include <QtTest>

class tst_Resources : public QObject
{
    Q_OBJECT

private slots:
    void everyNamedPictureLoads();
};

// A picture a form or the code names but the bundle lacks or cannot read leaves its widget bare without a
// word.
void tst_Resources::everyNamedPictureLoads()
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

QTEST_GUILESS_MAIN(tst_Resources)
#include "tst_resources.moc"
