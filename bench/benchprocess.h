#pragma once

#include <QStringList>
#include <QVector>

// Wall time and peak memory of a set of child processes.
struct BenchMeasure
{
    double seconds = 0;
    double peakMb = 0;
    bool ok = true;
};

namespace BenchProcess {

// Runs each command (program and arguments) with at most parallel at a time; peakMb is the largest peak
// resident size of any one command, its own and not the benchmark's.
BenchMeasure run(const QVector<QStringList> &commands, int parallel, const QStringList &environment = {});

// Runs one command of the benchmark's own; it reports its figures itself.
bool runOwn(const QStringList &command);

// True when the program is found on PATH.
bool available(const QString &program);

} // namespace BenchProcess
