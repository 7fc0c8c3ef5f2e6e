#!/usr/bin/env bash
# Collects the translation keys of gui/ (sources and forms) into the .ts files, keeping every existing
# translation. New keys arrive as unfinished entries: fill them in with Qt Linguist or by hand, in all
# three files. Keys that vanish from the code are kept as obsolete entries, so that a key removed and
# brought back, or not yet written by its class, keeps its wording.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)
"$lupdate" -silent -recursive -extensions h,cpp,ui -locations none gui \
    -ts translations/BrindleGUI_en.ts translations/BrindleGUI_de.ts translations/BrindleGUI_ru.ts
