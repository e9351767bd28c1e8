#!/usr/bin/env bash
# Installs the suite into a fresh prefix and runs the installed windows there,
# from another folder and with no build tree on any search path: the program
# must find its documents and pictures from its own location alone, and an
# installed program logs into the user's data folder. Also validates the
# installed desktop entry.   RunInstalled.sh BUILD_DIR [SHOT]
set -euo pipefail
export LC_ALL=C
build=$1
work=$(mktemp -d)
shot=${2:-$work/installed.png}
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" > /dev/null
# The driver is not part of an installation; it comes beside the installed suite
# only to act on its windows.
cmake --install "$build" --prefix "$prefix" --component drive > /dev/null

fail() { echo "$*" >&2; exit 1; }
for file in bin/tormalind \
    share/applications/tormalind-utility.desktop \
    share/icons/hicolor/16x16/apps/tormalind-utility.png \
    share/icons/hicolor/48x48/apps/tormalind-utility.png \
    share/icons/hicolor/256x256/apps/tormalind-utility.png \
    share/tormalind-utility/icon.png \
    share/tormalind-utility/seabed.png \
    share/tormalind-utility/order_iho_2.pdf \
    share/tormalind-utility/spec_sonic2024.pdf \
    share/tormalind-utility/centre_i2ns_imu.pdf; do
    [[ -f $prefix/$file ]] || fail "not installed: $file"
done
[[ -x $prefix/bin/tormalind ]] || fail "the program is not executable"
[[ ! -e $prefix/share/tormalind-utility/hicolor ]] || fail "the icon theme's folders went into the data folder"
desktop-file-validate "$prefix/share/applications/tormalind-utility.desktop"
grep -qx 'Exec=tormalind' "$prefix/share/applications/tormalind-utility.desktop" || fail "Exec is not the program"

data=$prefix/share/tormalind-utility
home=$work/home
mkdir -p "$home" "$work/elsewhere"
log="$home/.local/share/Tormalind UTILITY/tormalind-drive.log"
# A port of the dynamic range that nothing listens on.
port=$(comm -23 <(seq 40000 59999 | sort) <(ss -Htan | awk '{print $4}' | sed 's/.*://' | sort -u) | shuf -n 1)
cat > "$work/script.drive" <<DRIVE
open TIHOForm
choose pgc_Orders Order 2
waitfor doc_Order2 $data/order_iho_2.pdf
wait 300
shot $shot
close
open TSpec2024
print pdfDocument
close
open TMaris_network
set ePort $port
click chOnline
waitline Memo1 Log file: $log
DRIVE
cat > "$work/expected" <<EXPECTED
doc_Order2	$data/order_iho_2.pdf
pdfDocument	$data/spec_sonic2024.pdf
Memo1	Log file: $log
EXPECTED

status=0
(
    cd "$work/elsewhere"
    env -u LD_LIBRARY_PATH -u XDG_DATA_HOME -u XDG_DATA_DIRS HOME="$home" QT_QPA_PLATFORM=offscreen \
        timeout 60 "$prefix/bin/tormalind-drive" "$work/script.drive"
) > "$work/printed" 2> "$work/errors" || status=$?
if ! diff -u "$work/expected" "$work/printed"; then
    echo "driver output differs; its errors:" >&2
    cat "$work/errors" >&2
    exit 1
fi
[[ $status -eq 0 ]] || { echo "driver exited with $status" >&2; cat "$work/errors" >&2; exit 1; }
[[ -s $shot ]] || fail "no screenshot"
[[ -f $log ]] || fail "no log file in the user's data folder"
[[ ! -e $prefix/bin/tormalind-drive.log ]] || fail "the installed program logged beside itself"
