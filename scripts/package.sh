#!/usr/bin/env bash
# Builds the Debian package of the suite into build/: tormalind-utility_VERSION_ARCH.deb.
# Install it with:  sudo apt install ./build/tormalind-utility_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -G Ninja > /dev/null
cmake --build build --target package_contents
(cd build && cpack -G DEB)
ls build/tormalind-utility_*.deb
