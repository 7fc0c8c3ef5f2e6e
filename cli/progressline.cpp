#include "progressline.h"

#include <cstdio>
#include <unistd.h>

ProgressLine::ProgressLine(bool quiet)
    : shown(!quiet && isatty(STDERR_FILENO))
{
}

bool ProgressLine::isShown() const
{
    return shown;
}

void ProgressLine::show(int done, int total, int speed, uint elapsed, uint remaining)
{
    if (!shown)
        return;
    const int percent = total > 0 ? done * 100 / total : 100;
    const QString line = QStringLiteral("%1 of %2 (%3%), %4 KB/s, elapsed %5, remaining %6")
                             .arg(done)
                             .arg(total)
                             .arg(percent)
                             .arg(speed)
                             .arg(timeText(elapsed), timeText(remaining));
    // Carriage return to the line's start, then erase what a longer earlier line left to the right.
    std::fprintf(stderr, "\r%s\033[K", line.toLocal8Bit().constData());
    std::fflush(stderr);
    written = true;
}

void ProgressLine::finish()
{
    if (written)
        std::fputc('\n', stderr);
    written = false;
}

QString ProgressLine::timeText(uint msecs)
{
    const uint seconds = msecs / 1000;
    const QChar zero(QLatin1Char('0'));
    const QString minutes =
        QStringLiteral("%1:%2").arg(seconds / 60 % 60, 2, 10, zero).arg(seconds % 60, 2, 10, zero);
    return seconds < 3600 ? minutes : QStringLiteral("%1:%2").arg(seconds / 3600).arg(minutes);
}
