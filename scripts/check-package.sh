#!/usr/bin/env bash
# Builds the Debian package from build/ and checks what is inside it and what it depends on.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if ! log=$(cd "$build" && cpack -G DEB 2>&1); then
    echo "$log"
    exit 1
fi
package=$(ls -t "$build"/brindle_*.deb | head -n 1)
contents=$(dpkg-deb -c "$package" | awk '{print $6}')
depends=$(dpkg-deb -f "$package" Depends)
libdir=$(cmake -L -N "$build" 2>/dev/null | sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p')
program=./usr/${libdir:-lib}/brindle
missing=0
for path in "$program/BrindleGUI" "$program/brindle" "$program/libBrindleCore.so.1" "$program/Profiles/1_web.ini" \
    "$program/Translations/" "$program/Manuals/Brindle/index.html" ./usr/bin/BrindleGUI ./usr/bin/brindle \
    ./usr/share/applications/brindle.desktop ./usr/share/icons/hicolor/48x48/apps/brindle.png \
    ./usr/share/man/man1/brindle.1 ./usr/share/bash-completion/completions/brindle; do
    if ! grep -qxF "$path" <<<"$contents"; then
        echo "missing from $package: $path"
        missing=1
    fi
done
for library in libqt5core5a libqt5widgets5 libmagick++-6.q16; do
    if ! grep -q "$library" <<<"$depends"; then
        echo "$package does not depend on $library: $depends"
        missing=1
    fi
done
[ "$missing" -eq 0 ] && echo "$package: contents and dependencies complete"
exit "$missing"
