#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class QTextStream;

// One measured run: a tool on the images of a case.
struct BenchRow
{
    QString caseName;
    QString tool;
    double seconds = 0;
    int images = 0;
    // Negative when not measured.
    double peakMb = -1;
    double psnr = -1;
    bool ok = true;
};

// The rows of every case and the goals they are held to, printed as one table and written as CSV.
class BenchReport
{
public:
    void add(const BenchRow &row);
    // The measured value against its limit; atMost says on which side of the limit the goal is met.
    void addGoal(const QString &text, double value, double limit, bool atMost);
    void addNote(const QString &text);
    // The first row of the case and tool, or a row of no images when there is none.
    BenchRow row(const QString &caseName, const QString &tool) const;

    // Each row after the first of its case also shows the first one's seconds over its own.
    void print(QTextStream &out) const;
    bool writeCsv(const QString &path) const;

private:
    struct Goal
    {
        QString text;
        double value;
        double limit;
        bool atMost;
    };

    double firstSeconds(const QString &caseName) const;

    QVector<BenchRow> rows;
    QVector<Goal> goals;
    QStringList notes;
};
