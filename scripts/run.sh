#!/usr/bin/env bash
# Installs what is missing, builds, and starts Brindle from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot be shown."
    echo "Start Brindle on a virtual display instead:  xvfb-run -a build/bin/BrindleGUI"
    exit 1
fi
exec build/bin/BrindleGUI "$@"
