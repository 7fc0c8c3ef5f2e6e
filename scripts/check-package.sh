#!/usr/bin/env bash
# Builds the Debian package from build/ and checks what is inside it and what it depends on; as root it then
# installs the package, runs both programs from the PATH and removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if ! log=$(cd "$build" && cpack -G DEB 2>&1); then
    echo "$log"
    exit 1
fi
package=$(realpath "$(ls -t "$build"/brindle_*.deb | head -n 1)")
contents=$(dpkg-deb -c "$package" | awk '{print $6}')
depends=$(dpkg-deb -f "$package" Depends)
libdir=$(cmake -L -N "$build" 2>/dev/null | sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p')
program=./usr/${libdir:-lib}/brindle
missing=0
for path in "$program/BrindleGUI" "$program/brindle" "$program/libBrindleCore.so.1" "$program/Profiles/1_web.ini" \
    "$program/Translations/BrindleGUI_de.qm" "$program/Manuals/Brindle/index.html" ./usr/bin/BrindleGUI \
    ./usr/bin/brindle ./usr/share/applications/brindle.desktop ./usr/share/icons/hicolor/48x48/apps/brindle.png \
    ./usr/share/man/man1/brindle.1.gz ./usr/share/bash-completion/completions/brindle; do
    if ! grep -qxF "$path" <<<"$contents"; then
        echo "missing from $package: $path"
        missing=1
    fi
done
for library in libqt5core5a libqt5widgets5 libmagick++-6.q16 qt5-image-formats-plugins; do
    if ! grep -q "$library" <<<"$depends"; then
        echo "$package does not depend on $library: $depends"
        missing=1
    fi
done
[ "$missing" -eq 0 ] || exit 1
echo "$package: contents and dependencies complete"

if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the package was not installed"
    exit 0
fi
if dpkg-query -W -f='${Status}' brindle 2>/dev/null | grep -q 'ok installed'; then
    echo "brindle is installed already: the package was not installed over it"
    exit 0
fi
work=$(mktemp -d)
# Whatever fails below, the machine is left without the package and without our files.
trap 'apt-get remove -y -qq brindle >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
export DEBIAN_FRONTEND=noninteractive
if ! apt-get install -y -qq "$package" >"$work/apt.log" 2>&1; then
    cat "$work/apt.log"
    exit 1
fi

fail() {
    echo "installed package: $*"
    exit 1
}
version=$(dpkg-deb -f "$package" Version)
[ "$(cd "$work" && brindle --version)" = "brindle $version" ] || fail "brindle --version does not say $version"
# The installed icon as a source: the profile comes from the program folder, the engine library from beside
# the program.
icon=/usr/share/icons/hicolor/48x48/apps/brindle.png
brindle --quiet --profile web --keep-ratio --out "$work/out" "$icon" || fail "brindle could not resize $icon"
[ -s "$work/out/brindle.png" ] || fail "brindle wrote no $work/out/brindle.png"

# The window on a virtual display: it must come up and take a second start's files over its socket, which
# the private TMPDIR keeps apart from a Brindle the user may be running.
command -v xvfb-run >/dev/null || fail "xvfb-run is missing (scripts/deps.sh installs it)"
cd "$work"
export TMPDIR=$work
xvfb-run -a bash -c '
    BrindleGUI "$1" >window.log 2>&1 &
    window=$!
    for _ in $(seq 100); do
        [ -S "$TMPDIR/brindle-$(id -u)" ] && break
        kill -0 "$window" 2>/dev/null || break
        sleep 0.1
    done
    status=0
    timeout 20 BrindleGUI "$1" >second.log 2>&1 || status=$?
    kill -0 "$window" 2>/dev/null || status=99
    kill "$window" 2>/dev/null
    wait "$window" 2>/dev/null
    exit "$status"' check "$icon" || fail "BrindleGUI did not run and take a second start's files: $(cat window.log second.log)"
cd - >/dev/null
apt-get remove -y -qq brindle >/dev/null
hash -r
! command -v brindle >/dev/null || fail "brindle is still on the PATH after removing the package"
echo "$package: installed, both programs ran, removed again"
