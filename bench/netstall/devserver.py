#!/usr/bin/env python3
"""Helpers for bench/netstall/run: a reader that times each clock group at the far end of a pty,
and a device server that answers the RFC 2217 line settings and then floods option requests
without ever reading again. Loopback only."""
import os
import select
import socket
import sys
import time

IAC, SB, SE, DO, DONT, WILL, WONT = 255, 250, 240, 253, 254, 251, 252


def read_groups(far, out_path, seconds):
    """Appends 'EPOCH_SECONDS GROUP' for each clock group read from `far`, for `seconds`."""
    fd = os.open(far, os.O_RDONLY | os.O_NOCTTY)
    end = time.time() + seconds
    buffer = b""
    with open(out_path, "a", buffering=1) as out:
        while time.time() < end:
            ready, _, _ = select.select([fd], [], [], 0.2)
            if not ready:
                continue
            now = time.time()
            buffer += os.read(fd, 4096)
            # A clock group is five frames /Mmm/Hhh/mMM/Yyy/Ddd; its first frame names the minute.
            while True:
                start = buffer.find(b"/M")
                if start < 0 or len(buffer) - start < 20:
                    break
                group = buffer[start:start + 20]
                out.write("%.3f %s\n" % (now, group.decode("latin-1")))
                buffer = buffer[start + 20:]


def flood(port_file, megabytes):
    """Serves one client: confirms its line settings, then sends MEGABYTES of 'IAC DO 99'."""
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(1)
    with open(port_file, "w") as f:
        f.write(str(server.getsockname()[1]))
    client, _ = server.accept()
    client.setsockopt(socket.SOL_SOCKET, socket.SO_SNDBUF, 1 << 20)
    data = b""
    deadline = time.time() + 5
    answered = 0
    while answered < 4 and time.time() < deadline:
        data += client.recv(4096)
        while True:
            start = data.find(bytes([IAC, SB, 44]))
            end = data.find(bytes([IAC, SE]), start + 3)
            if start < 0 or end < 0:
                break
            body = data[start + 3:end]
            client.sendall(bytes([IAC, SB, 44, body[0] + 100]) + body[1:] + bytes([IAC, SE]))
            data = data[end + 2:]
            answered += 1
    chunk = bytes([IAC, DO, 99]) * (1 << 16)
    sent = 0
    total = megabytes * 1000 * 1000
    while sent < total:
        client.sendall(chunk)
        sent += len(chunk)
    # Nothing more is read: the client's answers stay where they are.
    time.sleep(3600)


if __name__ == "__main__":
    if sys.argv[1] == "groups":
        read_groups(sys.argv[2], sys.argv[3], float(sys.argv[4]))
    else:
        flood(sys.argv[2], int(sys.argv[3]))
