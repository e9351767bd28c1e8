#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the screenshots need.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev qt6-charts-dev qt6-serialport-dev qt6-pdf-dev qt6-base-dev-tools
    libqt6opengl6-dev libxkbcommon-dev libgl-dev libvulkan-dev
    libhpdf-dev libgtest-dev libgmock-dev libbenchmark-dev
    libproj-dev proj-data proj-bin libgeos-dev
    xvfb xauth socat lrzsz iproute2 poppler-utils imagemagick
    dpkg-dev file desktop-file-utils clang-format
    fonts-liberation fonts-wine locales
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so the tests can show that number texts never follow
# the user's regional settings.
if ! locale -a 2>/dev/null | grep -qi '^da_DK\.utf-\?8$'; then
    $sudo localedef -i da_DK -c -f UTF-8 da_DK.UTF-8
fi
