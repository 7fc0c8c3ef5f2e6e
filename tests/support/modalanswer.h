#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace TestModal {

// Hands the active modal window to handler as soon as there is one, and again until handler returns true,
// for 20 seconds at most. A single fixed-time shot misses a dialog that a loaded machine builds slowly, and
// the test then hangs; one that never gave up would answer a dialog of a later case.
inline void answer(const std::function<bool(QWidget *)> &handler, int triesLeft = 2000)
{
    QTimer::singleShot(10, [handler, triesLeft] {
        QWidget *modal = QApplication::activeModalWidget();
        if ((!modal || !handler(modal)) && triesLeft > 0)
            answer(handler, triesLeft - 1);
    });
}

} // namespace TestModal
