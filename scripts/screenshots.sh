#!/usr/bin/env bash
# Builds Brindle and saves pictures of its first screen, the resize screen with a queue, a run in progress
# and the settings panel into docs/screenshots/, on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -Wno-dev > /dev/null
cmake --build "$build" -j"$(nproc)" --target BrindleScreenshots BrindleTranslations BrindleProfiles
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/BrindleScreenshots" "$PWD/docs/screenshots"
# Re-run CMake so the new pictures are copied next to the manual in the build tree as well.
cmake -S . -B "$build" -Wno-dev > /dev/null
ls -l docs/screenshots
