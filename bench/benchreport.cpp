#include "benchreport.h"

#include <QFile>
#include <QTextStream>

namespace {

QString measured(double value, int precision)
{
    return value < 0 ? QStringLiteral("-") : QString::number(value, 'f', precision);
}

QString csvValue(double value)
{
    return value < 0 ? QString() : QString::number(value, 'g', 6);
}

} // namespace

void BenchReport::add(const BenchRow &row)
{
    rows << row;
}

void BenchReport::addGoal(const QString &text, double value, double limit, bool atMost)
{
    goals << Goal{text, value, limit, atMost};
}

void BenchReport::addNote(const QString &text)
{
    notes << text;
}

BenchRow BenchReport::row(const QString &caseName, const QString &tool) const
{
    for (const BenchRow &candidate : rows) {
        if (candidate.caseName == caseName && candidate.tool == tool)
            return candidate;
    }
    return BenchRow{caseName, tool};
}

double BenchReport::firstSeconds(const QString &caseName) const
{
    for (const BenchRow &candidate : rows) {
        if (candidate.caseName == caseName)
            return candidate.seconds;
    }
    return 0;
}

void BenchReport::print(QTextStream &out) const
{
    const QString line = QStringLiteral("%1 %2 %3 %4 %5 %6 %7");
    out << line.arg(QStringLiteral("tool"), -20)
               .arg(QStringLiteral("target"), -16)
               .arg(QStringLiteral("seconds"), 9)
               .arg(QStringLiteral("images/s"), 11)
               .arg(QStringLiteral("peak MB"), 8)
               .arg(QStringLiteral("PSNR dB"), 8)
               .arg(QStringLiteral("ours/theirs"), 12)
        << Qt::endl;
    QStringList seenCases;
    for (const BenchRow &row : rows) {
        const bool first = !seenCases.contains(row.caseName);
        seenCases << row.caseName;
        const QString ratio = first ? QString() : measured(firstSeconds(row.caseName) / row.seconds, 2);
        out << line.arg(row.tool, -20)
                   .arg(row.caseName, -16)
                   .arg(row.seconds, 9, 'f', 4)
                   .arg(row.images / row.seconds, 11, 'f', 1)
                   .arg(measured(row.peakMb, 0), 8)
                   .arg(measured(row.psnr, 1), 8)
                   .arg(ratio, 12)
            << (row.ok ? "" : "  (failures)") << Qt::endl;
    }
    for (const QString &note : notes)
        out << note << Qt::endl;
    for (const Goal &goal : goals) {
        const bool met = goal.atMost ? goal.value <= goal.limit : goal.value >= goal.limit;
        out << QStringLiteral("goal: %1 %2 (%3 %4): %5")
                   .arg(goal.text)
                   .arg(goal.value, 0, 'f', 2)
                   .arg(goal.atMost ? QStringLiteral("at most") : QStringLiteral("at least"))
                   .arg(goal.limit, 0, 'f', 2)
                   .arg(met ? QStringLiteral("met") : QStringLiteral("NOT met"))
            << Qt::endl;
    }
}

bool BenchReport::writeCsv(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream csv(&file);
    csv << "case,tool,seconds,images_per_s,peak_mb,psnr_db\n";
    for (const BenchRow &row : rows) {
        csv << row.caseName << ',' << row.tool << ',' << csvValue(row.seconds) << ','
            << csvValue(row.images / row.seconds) << ',' << csvValue(row.peakMb) << ',' << csvValue(row.psnr)
            << '\n';
    }
    csv.flush();
    return file.error() == QFileDevice::NoError;
}
