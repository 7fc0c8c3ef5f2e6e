#pragma once

#include <QString>

// The one line of progress on standard error, rewritten in place; silent unless standard error is a
// terminal and the user did not ask for quiet.
class ProgressLine
{
public:
    explicit ProgressLine(bool quiet);

    bool isShown() const;
    // speed in kilobytes per second; times in milliseconds.
    void show(int done, int total, int speed, uint elapsed, uint remaining);
    // Ends the line, so that what follows starts on a line of its own.
    void finish();

    static QString timeText(uint msecs);

private:
    bool shown;
    bool written = false;
};
