#!/usr/bin/env bash
# Builds the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitized/ and runs
# it, so that a use after free, an overflow or an exception that escapes into the event loop fails the run
# even where the plain build happens to survive it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-sanitized -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" -Wno-dev >/dev/null
cmake --build build-sanitized --parallel "$(nproc)" -- --no-print-directory -s
# Qt and the image library keep caches until exit on purpose; leaks are not what this run looks for.
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build-sanitized --output-on-failure --parallel "$(nproc)"
