#!/usr/bin/env bash
# Sets up, builds into build/ and starts Tormalind UTILITY.
set -euo pipefail
cd "$(dirname "$0")"
# The display first: a machine without a screen learns it in a second, not
# after the build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: there is no display to show the suite on." >&2
    echo "Start it from a desktop session (or over ssh -X) on a machine with a screen," >&2
    echo "or under a virtual X server:  xvfb-run -a -s '-screen 0 1280x800x24' ./run.sh" >&2
    echo "The tests need no display:  ./test.sh" >&2
    exit 1
fi
./scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target tormalind
exec ./build/tormalind "$@"
