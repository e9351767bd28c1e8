#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the screenshots need.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev qt6-charts-dev qt6-serialport-dev qt6-pdf-dev qt6-base-dev-tools
    libqt6svg6
    libhpdf-dev libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth socat lrzsz poppler-utils imagemagick
    fonts-liberation fonts-wine
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
