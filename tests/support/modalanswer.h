#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace TestModal {

// Hands the active modal window to handler as soon as there is one, and again until handler returns true.
// A single fixed-time shot misses a dialog that a loaded machine builds slowly, and the test then hangs.
inline void answer(const std::function<bool(QWidget *)> &handler)
{
    QTimer::singleShot(10, [handler] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !handler(modal))
            answer(handler);
    });
}

} // namespace TestModal
