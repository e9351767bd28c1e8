#!/usr/bin/env bash
# Runs the network tool's driver script with outside clients made by socat on
# 127.0.0.1 (a TCP client sending "Hello", then a UDP client sending "Hi" and
# waiting for the typed answer), and checks what the driver printed and what
# the UDP client got back.   RunNetworkDrive.sh DRIVER SCRIPT EXPECTED [SHOT]
set -euo pipefail
export LC_ALL=C
driver=$1 script=$2 expected=$3
work=$(mktemp -d)
shot=${4:-$work/network.png}
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
# A port of the dynamic range that nothing listens on.
port=$(comm -23 <(seq 40000 59999) <(ss -Htan | awk '{print $4}' | sed 's/.*://' | sort -u) | shuf -n 1)

(
    # Retries until the tool listens; keeps its side open a moment after sending.
    printf 'Hello' | socat -t 1 - "TCP:127.0.0.1:$port,retry=100,interval=0.1"
    sleep 2
    printf 'Hi' | timeout 6 socat -t 4 - "UDP:127.0.0.1:$port" > "$work/answer"
) &
clients=$!

sed -e "s#@PORT@#$port#g; s#@SHOT@#$shot#" "$script" > "$work/script.drive"
sed -e "s#@PORT@#$port#g" "$expected" > "$work/expected"
status=0
timeout 60 "$driver" "$work/script.drive" > "$work/printed" 2> "$work/errors" || status=$?
if ! diff -u "$work/expected" "$work/printed"; then
    echo "driver output differs; its errors:" >&2
    cat "$work/errors" >&2
    exit 1
fi
[[ $status -eq 0 ]] || { echo "driver exited with $status" >&2; cat "$work/errors" >&2; exit 1; }
wait $clients || true
[[ $(cat "$work/answer") == x ]] || { echo "the UDP client got \"$(cat "$work/answer")\", not x" >&2; exit 1; }
