#!/usr/bin/env python3
"""The least a listening tool has to do, as the yardstick of the network tool.

Listens on every local IPv4 address at PORT, by TCP (accepting every client)
or UDP, and appends to LOGFILE the lines the network tool writes for the same
input: per TCP client "accepted", "Opened:  : PORT server mode: 0" and
"Connection is  accepted  Total:N", and per read or datagram "Input data
length: N [hex bytes ]", each stamped, CR LF ended and written at once. One
thread, the standard library only. Prints "ready" once it listens; runs until
killed.

    minimal_log_server.py tcp|udp PORT LOGFILE
"""
import selectors
import socket
import sys
import time


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("tcp", "udp"):
        sys.exit(__doc__)
    mode, port, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    log = open(path, "ab")

    def entry(text):
        stamp = time.strftime("%d %b %Y %H:%M:%S %Z")
        log.write(f"[{stamp}] Net: {text}\r\n".encode("cp1252"))
        log.flush()

    def input_entry(data):
        shown = data.hex(" ").upper() + " " if data else ""
        entry(f"Input data length: {len(data)} [{shown}]")

    if mode == "udp":
        receiver = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        receiver.bind(("0.0.0.0", port))
        print("ready", flush=True)
        while True:
            input_entry(receiver.recv(65536))

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("0.0.0.0", port))
    # The same backlog as the tool, so a burst of clients waits in the kernel alike.
    server.listen(socket.SOMAXCONN)
    server.setblocking(False)
    events = selectors.DefaultSelector()
    events.register(server, selectors.EVENT_READ)
    connections = 0
    print("ready", flush=True)
    while True:
        for key, _ in events.select():
            if key.fileobj is server:
                while True:
                    try:
                        client, _ = server.accept()
                    except BlockingIOError:
                        break
                    client.setblocking(False)
                    connections += 1
                    entry("accepted")
                    entry(f"Opened:  : {port} server mode: 0")
                    entry(f"Connection is  accepted  Total:{connections}")
                    events.register(client, selectors.EVENT_READ)
                continue
            client = key.fileobj
            try:
                data = client.recv(65536)
            except ConnectionError:
                data = b""
            if data:
                input_entry(data)
            else:
                events.unregister(client)
                client.close()
                connections -= 1


if __name__ == "__main__":
    main()
