#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class BenchReport;

// The size estimate against the real total of a run, per kind of content, target and JPEG quality.
namespace BenchEstimate {

struct Kind
{
    QString name;
    QStringList files;
};

void compareWithRuns(BenchReport &report, const QVector<Kind> &kinds, const QString &work);

} // namespace BenchEstimate
