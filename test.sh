#!/usr/bin/env bash
# Sets up, builds everything into build/ and runs every test on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j4
