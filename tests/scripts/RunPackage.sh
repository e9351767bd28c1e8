#!/usr/bin/env bash
# Builds the Debian package from a build tree into a fresh folder and checks its
# control data and contents: named and versioned from the CMake project,
# depending on the run-time Qt 6, libharu, PROJ, GEOS and font packages (never a -dev one),
# and holding the program, its desktop entry, icons and documents (and not the
# driver).   RunPackage.sh BUILD_DIR VERSION
set -euo pipefail
export LC_ALL=C
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*" >&2; exit 1; }

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out") > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/tormalind-utility_"$version"_*.deb 2> /dev/null) || fail "no tormalind-utility_${version}_*.deb"

info=$(dpkg-deb --info "$deb")
grep -qx ' Package: tormalind-utility' <<< "$info" || fail "package name: $info"
grep -qx " Version: $version" <<< "$info" || fail "version: $info"
depends=$(grep '^ Depends:' <<< "$info") || fail "no Depends: $info"
for needed in libqt6widgets6 libqt6charts6 libqt6pdfwidgets6 libqt6serialport6 libqt6network6 libhpdf \
    libproj25 libgeos-c1v5 proj-data qt6-qpa-plugins fonts-liberation fonts-wine; do
    grep -q "$needed" <<< "$depends" || fail "$needed is not a dependency: $depends"
done
! grep -q -- '-dev' <<< "$depends" || fail "a development package is a dependency: $depends"

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for file in ./usr/bin/tormalind \
    ./usr/share/applications/tormalind-utility.desktop \
    ./usr/share/icons/hicolor/48x48/apps/tormalind-utility.png \
    ./usr/share/icons/hicolor/256x256/apps/tormalind-utility.png \
    ./usr/share/tormalind-utility/icon.png \
    ./usr/share/tormalind-utility/order_iho_special.pdf \
    ./usr/share/tormalind-utility/spec_i2ns_3.pdf \
    ./usr/share/tormalind-utility/centre_sonic2026.pdf \
    ./usr/share/doc/tormalind-utility/copyright \
    ./usr/share/doc/tormalind-utility/changelog.gz \
    ./usr/share/man/man1/tormalind.1.gz; do
    grep -qx -- "$file" <<< "$contents" || fail "not in the package: $file"
done
! grep -q 'tormalind-drive' <<< "$contents" || fail "the driver is in the package"

# Docks group the program's windows with its launcher by this class.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/tormalind-utility.desktop |
    grep -qx 'StartupWMClass=tormalind' || fail "the desktop entry names no window class"
# The long description is wrapped for a terminal.
! dpkg-deb --field "$deb" Description | awk 'length > 80' | grep -q . || fail "a description line over 80 characters"
