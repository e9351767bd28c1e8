#!/usr/bin/env bash
# Receives the same file from lrzsz's sz over a fresh socat pty pair, once
# through the serial terminal's channel and ZModem receiver and once with
# lrzsz's rz, and prints the best of three times of each and their ratio; for
# a 1 MB and a 10 MB file, since a short download weighs the session's start
# and a long one the data phase.
#   bench/zmodem_vs_rz.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
receiver=$(realpath "$build/bench/zmodem_pty_receive")
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
head -c $((10 * 1024 * 1024)) /dev/urandom > "$work/sounding-10MB.raw"
head -c $((1024 * 1024)) "$work/sounding-10MB.raw" > "$work/sounding-1MB.raw"

# One run: a fresh pair, sz sending $file on end a, the receiver command on
# end b. The time runs from the start until the whole file stands in the
# folder, so the session's closing handshake (where rz now and then waits out
# a 30 s time-out on a pty pair) does not count for either side. Prints
# seconds.
run() {
    local name=$1; shift
    mkdir -p "$work/$name"
    socat pty,raw,echo=0,link="$work/$name.a" pty,raw,echo=0,link="$work/$name.b" & local relay=$!
    for _ in $(seq 50); do [[ -e $work/$name.a && -e $work/$name.b ]] && break; sleep 0.1; done
    (sz -q "$work/$file" < "$work/$name.a" > "$work/$name.a") & local sender=$!
    local start end size=$(stat -c %s "$work/$file")
    start=$(date +%s.%N)
    "$@" "$work/$name.b" "$work/$name" & local receiver=$!
    for _ in $(seq 6000); do
        [[ -f $work/$name/$file && $(stat -c %s "$work/$name/$file") -eq $size ]] && break
        sleep 0.01
    done
    end=$(date +%s.%N)
    sleep 0.2
    kill $receiver $sender $relay 2>/dev/null || true
    wait $receiver $sender $relay 2>/dev/null || true
    cmp -s "$work/$file" "$work/$name/$file" || { echo "$name: received file differs" >&2; exit 1; }
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

rz_in_folder() { cd "$2" && exec rz < "$1" > "$1" 2>/dev/null; }

# Best of three runs each, so one slow start of a pty pair does not decide.
best() { sort -g | head -1; }
for mb in 1 10; do
    file=sounding-${mb}MB.raw
    ours=$(for round in 1 2 3; do run "ours$mb-$round" "$receiver" 2>/dev/null; done | best)
    theirs=$(for round in 1 2 3; do run "lrzsz$mb-$round" rz_in_folder; done | best)
    printf '%2d MB  project receiver  %.3f s   lrzsz rz  %.3f s   ratio  %.2f\n' \
        "$mb" "$ours" "$theirs" "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { print a / b }')"
done
