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
// resident size of any one child.
BenchMeasure run(const QVector<QStringList> &commands, int parallel, const QStringList &environment = {});

// True when the program is found on PATH.
bool available(const QString &program);

} // namespace BenchProcess
