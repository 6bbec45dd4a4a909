#!/usr/bin/env python3
"""A TCP port in front of a PostgreSQL server's Unix socket that can make
the server vanish from the network: once the file named by --vanish exists,
the connections through it are reset and the port drops every new
connection's SYN (its listen queue is kept full), as a host gone from the
network does. Prints the port, then serves until killed."""
import argparse
import os
import select
import socket
import struct
import threading

parser = argparse.ArgumentParser()
parser.add_argument("--socket", required=True, help="the server's Unix socket")
parser.add_argument("--vanish", required=True, help="the file whose appearance makes it vanish")
args = parser.parse_args()

listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", 0))
listener.listen(64)
port = listener.getsockname()[1]
print(port, flush=True)

lock = threading.Lock()
open_sockets = []


def relay(source, target):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            target.sendall(data)
    except OSError:
        pass
    for s in (source, target):
        try:
            s.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


def reset(s):
    # The shutdown also wakes the relay blocked on it, so the close happens.
    try:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        s.shutdown(socket.SHUT_RDWR)
    except OSError:
        pass
    s.close()


while not os.path.exists(args.vanish):
    ready, _, _ = select.select([listener], [], [], 0.05)
    if not ready:
        continue
    client, _ = listener.accept()
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    try:
        server.connect(args.socket)
    except OSError:
        reset(client)
        continue
    with lock:
        open_sockets += [client, server]
    for a, b in ((client, server), (server, client)):
        threading.Thread(target=relay, args=(a, b), daemon=True).start()

with lock:
    for s in open_sockets:
        reset(s)
listener.close()
# The same port with a queue of one, filled by a connection of our own: the
# kernel drops every SYN after it.
blackhole = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
blackhole.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
blackhole.bind(("127.0.0.1", port))
blackhole.listen(0)
filler = socket.create_connection(("127.0.0.1", port))
threading.Event().wait()
