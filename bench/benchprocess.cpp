#include "benchprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace BenchProcess {

namespace {

pid_t start(const QStringList &command, const QStringList &environment)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    for (const QString &setting : environment)
        putenv(strdup(setting.toLocal8Bit().constData()));
    std::vector<QByteArray> bytes;
    for (const QString &part : command)
        bytes.push_back(part.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &part : bytes)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

bool succeeded(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double reportedMb(const QString &report)
{
    QFile file(report);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().trimmed().toDouble() / 1024;
}

} // namespace

BenchMeasure run(const QVector<QStringList> &commands, int parallel, const QStringList &environment)
{
    const QString launcher = QCoreApplication::applicationDirPath() + QStringLiteral("/BrindleBenchLaunch");
    QTemporaryDir reports;
    BenchMeasure measure;
    QElapsedTimer clock;
    clock.start();
    int next = 0;
    int running = 0;
    while (next < commands.size() || running > 0) {
        while (running < parallel && next < commands.size()) {
            const QString report = reports.filePath(QString::number(next));
            start(QStringList{launcher, report} + commands[next++], environment);
            ++running;
        }
        int status = 0;
        if (wait(&status) < 0)
            break;
        --running;
        measure.ok = measure.ok && succeeded(status);
    }
    measure.seconds = clock.nsecsElapsed() / 1e9;
    for (int i = 0; i < commands.size(); ++i)
        measure.peakMb = qMax(measure.peakMb, reportedMb(reports.filePath(QString::number(i))));
    return measure;
}

bool runOwn(const QStringList &command)
{
    int status = 0;
    return waitpid(start(command, {}), &status, 0) > 0 && succeeded(status);
}

bool available(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace BenchProcess
