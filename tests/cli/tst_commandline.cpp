#include "testimages.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <fstream>

// Runs the built `brindle` as a child process on small generated images, as a script or a user would.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void outputs_data();
    void outputs();
    void exitStatus_data();
    void exitStatus();
    void qualityReachesTheEngine();
    void progressUnderTerminal();
    void interruptLeavesOnlyWholeOutputs();
    void runsThroughGnuParallel();
    void latin1Names();

private:
    struct Result
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    // Runs a program, by default the command line, in the folder and waits for its end.
    Result run(const QStringList &arguments, const QString &program = BRINDLE_CLI,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    // Every file under the folder, relative to it, sorted.
    QStringList files() const;
    QString path(const QString &relative) const { return folder->filePath(relative); }

    QScopedPointer<QTemporaryDir> folder;
};

// Sources: a landscape JPEG, a portrait PNG, a file that is no image; one level down a JPEG of the same
// name and a PNG whose header reads but whose pixels do not, which a run meets only when it decodes them.
void TestCommandLine::init()
{
    folder.reset(new QTemporaryDir);
    QVERIFY(folder->isValid());
    QVERIFY(QDir(folder->path()).mkdir("deep"));
    QVERIFY(!TestImages::write(path("land.jpg"), QSize(400, 300)).isEmpty());
    QVERIFY(!TestImages::write(path("tall.png"), QSize(150, 300)).isEmpty());
    QVERIFY(!TestImages::write(path("deep/land.jpg"), QSize(200, 100)).isEmpty());
    QVERIFY(!TestImages::write(path("deep/broken.png"), QSize(200, 100)).isEmpty());
    QFile broken(path("deep/broken.png"));
    QVERIFY(broken.open(QIODevice::ReadWrite) && broken.seek(broken.size() / 2) &&
            broken.write(QByteArray(16, '\xff')) == 16);
    QFile notes(path("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("no image") > 0);
}

TestCommandLine::Result TestCommandLine::run(const QStringList &arguments, const QString &program,
                                             const QProcessEnvironment &environment)
{
    QProcess process;
    process.setWorkingDirectory(folder->path());
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(30000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QStringList TestCommandLine::files() const
{
    QStringList found;
    const QDir root(folder->path());
    QDirIterator it(folder->path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(root.relativeFilePath(it.next()));
    found.sort();
    return found;
}

void TestCommandLine::outputs_data()
{
    QTest::addColumn<QStringList>("arguments");
    // "relative path=WxH" of every file the run adds, nothing more.
    QTest::addColumn<QStringList>("expected");
    // Files named on standard error as left out; any of them makes the exit status 1.
    QTest::addColumn<QStringList>("leftOut");

    const auto row = [](const char *name, const QStringList &arguments, const QStringList &expected,
                        const QStringList &leftOut = {}) {
        QTest::newRow(name) << arguments << expected << leftOut;
    };
    const QStringList two{"land.jpg", "tall.png"};
    const QStringList both{"mini_land.jpg=80x60", "mini_tall.png=80x60"};
    row("size, both sides stretched", QStringList{"-s", "80x60"} + two, both);
    row("keep ratio", QStringList{"--size", "80x60", "--keep-ratio"} + two,
        {"mini_land.jpg=80x60", "mini_tall.png=30x60"});
    row("portrait turn", QStringList{"-s", "80x60", "-k", "--portrait-turn"} + two,
        {"mini_land.jpg=80x60", "mini_tall.png=60x120"});
    row("width over a size keeps the size's height", {"-s", "80x60", "--width", "40", "land.jpg"},
        {"mini_land.jpg=40x60"});
    row("width alone keeps the height", {"--width", "40", "land.jpg"}, {"mini_land.jpg=40x300"});
    row("height alone, keep ratio", {"-H", "30", "-k", "land.jpg"}, {"mini_land.jpg=40x30"});
    row("shipped profile, any case", {"--profile", "web", "land.jpg"}, {"mini_land.jpg=800x600"});
    row("built-in profile", {"-P", "Email", "land.jpg"}, {"mini_land.jpg=1024x768"});
    row("default size is the first profile's", {"tall.png"}, {"mini_tall.png=1024x768"});
    row("own prefix", {"-s", "80x60", "--prefix", "small_", "land.jpg"}, {"small_land.jpg=80x60"});
    row("sub-folder named after the size", {"-s", "80x60", "--subfolder", "land.jpg", "deep/land.jpg"},
        {"deep/resized_80x60/land.jpg=80x60", "resized_80x60/land.jpg=80x60"});
    row("one output folder", QStringList{"-s", "80x60", "--out", "out"} + two,
        {"out/land.jpg=80x60", "out/tall.png=80x60"});
    row("folder, one level", {"-s", "80x60", "."}, both, {"notes.txt"});
    row("folder, recursive, undecodable pixels left out during the run", {"-s", "80x60", "--recursive", "."},
        QStringList{"deep/mini_land.jpg=80x60"} + both, {"notes.txt", "broken.png"});
    row("dry run", {"-s", "80x60", "--dry-run", "-r", "."}, QStringList{"deep/mini_land.jpg=80x60"} + both,
        {"notes.txt", "broken.png"});
    row("highest quality", {"-s", "80x60", "-q", "100", "land.jpg"}, {"mini_land.jpg=80x60"});
    row("missing file, the rest done", {"-s", "80x60", "gone.jpg", "land.jpg"}, {"mini_land.jpg=80x60"},
        {"gone.jpg"});
    row("nothing to resize", {"-s", "80x60", "notes.txt"}, {}, {"notes.txt"});
    row("never enlarge keeps a small image", {"-s", "800x600", "-k", "-n", "land.jpg"},
        {"mini_land.jpg=400x300"});
}

void TestCommandLine::outputs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, leftOut);

    const QStringList before = files();
    const Result result = run(arguments);
    const int exitCode = leftOut.isEmpty() ? 0 : 1;
    QVERIFY2(result.exitCode == exitCode,
             qPrintable(QString("exit %1: %2").arg(result.exitCode).arg(result.err)));
    QStringList added;
    for (const QString &file : files()) {
        if (before.contains(file))
            continue;
        const QSize size = TestImages::pixelSize(path(file));
        added.append(QString("%1=%2x%3").arg(file).arg(size.width()).arg(size.height()));
    }
    // A dry run writes nothing and lists what the run would write.
    if (arguments.contains("--dry-run")) {
        QCOMPARE(added, QStringList());
        for (const QString &output : expected)
            QVERIFY2(result.out.contains(QDir::toNativeSeparators(path(output.section('=', 0, 0)))),
                     qPrintable(result.out));
        QVERIFY2(result.out.contains(QString("%1 images").arg(expected.size())), qPrintable(result.out));
    } else {
        QCOMPARE(added, expected);
    }
    // Left-out files are named with their reason; nothing else is said off a terminal.
    for (const QString &name : leftOut)
        QVERIFY2(result.err.contains(QRegularExpression("left out .*" + name + ":")), qPrintable(result.err));
    QCOMPARE(result.err.isEmpty(), leftOut.isEmpty());
}

void TestCommandLine::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("no path") << QStringList{"-s", "80x60"} << "No image or folder given";
    QTest::newRow("size not WxH") << QStringList{"-s", "80by60", "land.jpg"} << "WIDTHxHEIGHT";
    QTest::newRow("size and profile") << QStringList{"-s", "80x60", "-P", "Web", "land.jpg"} << "either";
    QTest::newRow("unknown profile") << QStringList{"-P", "Poster", "land.jpg"} << "Web";
    QTest::newRow("two output modes") << QStringList{"-p", "a_", "-f", "land.jpg"} << "only one";
    QTest::newRow("quality above 100") << QStringList{"-q", "101", "land.jpg"} << "1 to 100";
    QTest::newRow("no jobs") << QStringList{"-j", "0", "land.jpg"} << "--jobs";
    QTest::newRow("portrait turn without keep ratio") << QStringList{"-t", "land.jpg"} << "--keep-ratio";
    QTest::newRow("refused: onto the source") << QStringList{"-p", "", "land.jpg"} << "replace the source";
    QTest::newRow("refused: two sources into one output")
        << QStringList{"-o", "out", "land.jpg", "deep/land.jpg"} << "would both be resized";
    QTest::newRow("refused: a dry run onto the source")
        << QStringList{"--dry-run", "-p", "", "land.jpg"} << "replace the source";
    QTest::newRow("refused: empty target") << QStringList{"-s", "0x60", "land.jpg"} << "is empty";
    QTest::newRow("refused: oversized target")
        << QStringList{"-s", "90000x90000", "land.jpg"} << "cannot be resized";
    QTest::newRow("refused: output folder inside a missing one")
        << QStringList{"-o", "gone/out", "land.jpg"} << "gone does not exist";
    QTest::newRow("refused: output folder is a file")
        << QStringList{"-o", "notes.txt", "land.jpg"} << "a file has that name";
}

void TestCommandLine::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    const QStringList before = files();
    const Result result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(files(), before);
}

void TestCommandLine::qualityReachesTheEngine()
{
    QCOMPARE(run({"-s", "300x200", "-q", "10", "-p", "low_", "land.jpg"}).exitCode, 0);
    QCOMPARE(run({"-s", "300x200", "-q", "95", "-p", "high_", "land.jpg"}).exitCode, 0);
    QVERIFY2(QFileInfo(path("low_land.jpg")).size() < QFileInfo(path("high_land.jpg")).size(),
             "quality 10 must give a smaller JPEG than quality 95");
}

// On a terminal one line is rewritten in place and a summary follows; --quiet leaves nothing but errors.
void TestCommandLine::progressUnderTerminal()
{
    const QString script = QStandardPaths::findExecutable("script");
    if (script.isEmpty())
        QSKIP("script(1) is missing (bsdutils): no pseudo terminal to run under");
    for (const QString &quiet : {QString(), QString("--quiet")}) {
        // script runs the command on a pseudo terminal and copies what it prints to its own output.
        const QString command = QString("'%1' -s 80x60 %2 land.jpg tall.png").arg(BRINDLE_CLI, quiet);
        const Result result = run({"-qec", command, "/dev/null"}, script);
        QCOMPARE(result.exitCode, 0);
        if (!quiet.isEmpty())
            QCOMPARE(result.out, QString());
        else
            QVERIFY2(result.out.contains("\r2 of 2 (100%)") &&
                         result.out.contains("2 of 2 images resized in"),
                     qPrintable(result.out));
    }
}

// A cancel waits for the images in flight, so an output is whole or absent, never cut short.
void TestCommandLine::interruptLeavesOnlyWholeOutputs()
{
    const int count = 24;
    QVERIFY(QDir(folder->path()).mkdir("big"));
    const QString photo = TestImages::write(path("big/photo0.png"), QSize(1600, 1200));
    QVERIFY(!photo.isEmpty());
    for (int i = 1; i < count; ++i)
        QVERIFY(QFile::copy(photo, path(QString("big/photo%1.png").arg(i))));

    QProcess process;
    process.setWorkingDirectory(folder->path());
    process.start(BRINDLE_CLI, {"-j", "1", "-s", "1500x1100", "-o", "out", "big"});
    const QDir out(path("out"));
    QTRY_VERIFY_WITH_TIMEOUT(!out.entryList({"*.png"}, QDir::Files).isEmpty(), 20000);
    QVERIFY(::kill(pid_t(process.processId()), SIGINT) == 0);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 130);

    const QStringList written = out.entryList(QDir::Files);
    QVERIFY2(written.size() < count, "the run ended before the interrupt, so nothing was cancelled");
    // A temporary name or a picture cut short would be a half-written output.
    for (const QString &name : written)
        QVERIFY2(name.endsWith(".png") && QImage(out.filePath(name)).size() == QSize(1500, 1100),
                 qPrintable("a half-written file stayed: " + name));
}

void TestCommandLine::runsThroughGnuParallel()
{
    const QString parallel = QStandardPaths::findExecutable("parallel");
    if (parallel.isEmpty())
        QSKIP("GNU parallel is missing");

    // The README's command line with the local host (":") as the only one: --trc has nothing to carry.
    const QStringList arguments{"--will-cite", "-S", ":",   "--trc", "out/{/}", BRINDLE_CLI, "-s",
                                "80x60",       "-o", "out", "{}",    ":::",     "land.jpg",  "tall.png"};
    QCOMPARE(run(arguments, parallel).exitCode, 0);
    for (const char *name : {"out/land.jpg", "out/tall.png"})
        QCOMPARE(TestImages::pixelSize(path(name)), QSize(80, 60));
    QVERIFY2(QFile::exists(path("land.jpg")) && QFile::exists(path("tall.png")), "a source went missing");
}

// The bytes of a file named by bytes that need not be valid in the test's own locale.
static QByteArray rawContents(const QByteArray &path)
{
    std::ifstream file(path.constData(), std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(file), {}));
}

// Under a Latin-1 locale "Grüße été.jpg" is a name whose bytes are not UTF-8: read or written through any
// other encoding than the locale's, it comes out as another file or none.
void TestCommandLine::latin1Names()
{
    QVERIFY(QDir(folder->path()).mkdir("locales") && QDir(folder->path()).mkdir("latin"));
    if (run({"-i", "de_DE", "-f", "ISO-8859-1", path("locales/de_DE.ISO-8859-1")}, "localedef").exitCode != 0)
        QSKIP("cannot make a Latin-1 locale here (localedef and Debian's locales package)");
    const QByteArray name("Gr\xfc\xdf"
                          "e \xe9t\xe9.jpg");
    const QByteArray source = QFile::encodeName(path("latin/")) + name;
    const QByteArray photo = TestImages::fileBytes(path("land.jpg"));
    QVERIFY(std::rename(QFile::encodeName(path("land.jpg")).constData(), source.constData()) == 0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LOCPATH", path("locales"));
    environment.insert("LC_ALL", "de_DE.ISO-8859-1");
    const Result result = run({"-s", "80x60", "-o", "out", "latin"}, BRINDLE_CLI, environment);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    const QByteArray output = QFile::encodeName(path("out/")) + name;
    QCOMPARE(QImage::fromData(rawContents(output)).size(), QSize(80, 60));
    QVERIFY2(rawContents(source) == photo, "the source was changed");
    // Qt can neither list nor remove them; the output folder held nothing else.
    QVERIFY(std::remove(output.constData()) == 0 && std::remove(source.constData()) == 0);
    QVERIFY(QDir(folder->path()).rmdir("out"));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
