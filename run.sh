#!/usr/bin/env bash
# Sets up, builds into build/ and starts Tormalind UTILITY.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target tormalind
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: there is no display to show the suite on." >&2
    echo "Start it under a virtual X server instead:  xvfb-run -a -s '-screen 0 1280x800x24' ./run.sh" >&2
    exit 1
fi
exec ./build/tormalind
