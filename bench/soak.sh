#!/usr/bin/env bash
# Runs each soak of the communication tools in a process of its own (peak
# memory is the process's) and prints their figure lines, to compare from run
# to run: data through, time, rate, peak RSS and the longest pause.
#   bench/soak.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=offscreen
for test in NetworkSoak.TcpStream* NetworkSoak.UdpFlood* SerialSoak.*; do
    "$build/commtools_soak_tests" --gtest_filter="$test" 2>/dev/null | grep -E '^soak ' || echo "soak $test failed"
done
