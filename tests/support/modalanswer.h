#pragma once

#include <QWidget>
#include <functional>

namespace TestModal {

// Hands the active modal window to handler as soon as there is one, and again until handler returns true.
// A single fixed-time shot misses a dialog that a loaded machine builds slowly, and the test then hangs.
void answer(const std::function<bool(QWidget *)> &handler);

} // namespace TestModal
