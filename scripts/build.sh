#!/usr/bin/env bash
# Installs what is missing and builds everything into build/ (the program lands in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -Wno-dev >/dev/null
cmake --build build --parallel "$(nproc)" -- --no-print-directory -s
