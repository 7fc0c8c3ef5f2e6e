#include "benchprocess.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QtGlobal>
#include <fcntl.h>
#include <sys/resource.h>
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
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDERR_FILENO);
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

} // namespace

BenchMeasure run(const QVector<QStringList> &commands, int parallel, const QStringList &environment)
{
    BenchMeasure measure;
    QElapsedTimer clock;
    clock.start();
    int next = 0;
    int running = 0;
    while (next < commands.size() || running > 0) {
        while (running < parallel && next < commands.size()) {
            start(commands[next++], environment);
            ++running;
        }
        int status = 0;
        rusage usage{};
        if (wait4(-1, &status, 0, &usage) < 0)
            break;
        --running;
        measure.ok = measure.ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        // ru_maxrss is in kilobytes on Linux.
        measure.peakMb = qMax(measure.peakMb, usage.ru_maxrss / 1024.0);
    }
    measure.seconds = clock.nsecsElapsed() / 1e9;
    return measure;
}

bool available(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace BenchProcess
