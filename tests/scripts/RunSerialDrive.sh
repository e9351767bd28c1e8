#!/usr/bin/env bash
# Runs the serial terminal's driver script against a fresh socat pty pair with
# lrzsz's sz as the device, in a home of its own (the ZModem download folder is
# its Downloads), and checks what the driver printed and the received file.
#   RunSerialDrive.sh DRIVER SCRIPT EXPECTED [SHOT]
set -euo pipefail
driver=$1 script=$2 expected=$3
work=$(mktemp -d)
shot=${4:-$work/terminal.png}
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$work/home"
printf 'Depth 0.5 m  SV 1489.2 m/s\r\nEnd\r\n' > "$work/svp profile.txt"

socat pty,raw,echo=0,link="$work/device" pty,raw,echo=0,link="$work/terminal" &
for _ in $(seq 50); do [[ -e $work/device && -e $work/terminal ]] && break; sleep 0.1; done

# The device: waits for the terminal's "go" line, sends the file with every
# control character escaped, says so at once after the session's closing "OO".
(
    exec < "$work/device" > "$work/device"
    stty raw -echo 2>/dev/null || true
    head -c 4 > /dev/null
    cd "$work" && sz -e "svp profile.txt" 2>/dev/null
    printf 'OK go-ack\r\n'
) &

sed -e "s#@TERMINAL@#$work/terminal#; s#@DEVICE@#$work/device#; s#@SHOT@#$shot#" "$script" > "$work/script.drive"
status=0
HOME="$work/home" timeout 60 "$driver" "$work/script.drive" > "$work/printed" 2> "$work/errors" || status=$?
if ! diff -u "$expected" "$work/printed"; then
    echo "driver output differs; its errors:" >&2
    cat "$work/errors" >&2
    exit 1
fi
[[ $status -eq 0 ]] || { echo "driver exited with $status" >&2; cat "$work/errors" >&2; exit 1; }
cmp "$work/svp profile.txt" "$work/home/Downloads/svp profile.txt"
