#!/usr/bin/env bash
# The README's picture of a terminal channel reading a GNSS receiver: socat
# joins two pseudo-terminals, a loop on one end plays the receiver (GGA at
# about 10 Hz with an RTK fix, RMC once a second, one sentence damaged
# on the way), and the driver opens channel 1 on the other end and takes the
# picture once the stream line has five seconds to go on.
#   scripts/nmea_stream_shot.sh DRIVER PICTURE
set -euo pipefail
driver=$1 picture=$2
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

socat pty,raw,echo=0,link="$work/receiver" pty,raw,echo=0,link="$work/terminal" &
for _ in $(seq 50); do [[ -e $work/receiver && -e $work/terminal ]] && break; sleep 0.1; done

# A sentence with its checksum (the XOR of everything between "$" and "*").
sentence() {
    local body=$1 sum=0 i c
    for ((i = 0; i < ${#body}; i++)); do
        printf -v c '%d' "'${body:i:1}"
        sum=$((sum ^ c))
    done
    printf '$%s*%02X\r\n' "$body" "$sum"
}

(
    exec > "$work/receiver"
    printf '$GNGGA,120000.00,5407.0380,N,01131.0000,E,4,14,0.8,5.4,M,46.9,M,1.0,0101*00\r\n'
    for ((n = 0; n < 300; n++)); do
        t=$(printf '1200%02d.%d0' $((n / 10)) $((n % 10)))
        sentence "GNGGA,$t,5407.0380,N,01131.0000,E,4,14,0.8,5.4,M,46.9,M,1.0,0101"
        if ((n % 10 == 0)); then
            sentence "GNRMC,$t,A,5407.0380,N,01131.0000,E,4.8,231.4,130524,,,R"
        fi
        sleep 0.1
    done
) &

cat > "$work/shot.drive" <<DRIVE
open TMaris_terminal
set portBox1 $work/terminal
click chkActive1
wait 6500
shot $picture
DRIVE
"$driver" "$work/shot.drive"
