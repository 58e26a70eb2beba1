#!/usr/bin/env python3
"""x_socket_relay.py FROM TO: relays X clients connecting to the Unix socket FROM to the X
server's socket TO. On SIGUSR1 it stops reading from its clients and keeps its side open for
writing, so that a client's next write to the display fails (EPIPE, which raises SIGPIPE)
while its reads find nothing wrong: the display's socket gone as a write first notices it."""
import os
import select
import signal
import socket
import sys

listen_path, server_path = sys.argv[1], sys.argv[2]
listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
listener.bind(listen_path)
listener.listen(8)
pairs = {}  # socket -> the socket it relays to
clients = set()
cut = False


def cut_clients(*_):
    global cut
    cut = True


signal.signal(signal.SIGUSR1, cut_clients)
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
while True:
    if cut:
        for client in list(clients):
            try:
                client.shutdown(socket.SHUT_RD)
            except OSError:
                pass
            pairs.pop(client, None)  # nothing more is read from it
        clients.clear()
    try:
        readable, _, _ = select.select([listener] + list(pairs), [], [], 0.1)
    except InterruptedError:
        continue
    for sock in readable:
        if sock is listener:
            client, _ = listener.accept()
            server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            server.connect(server_path)
            pairs[client], pairs[server] = server, client
            clients.add(client)
            continue
        if sock not in pairs:
            continue
        data = sock.recv(65536)
        if not data:
            other = pairs.pop(sock)
            pairs.pop(other, None)
            continue
        try:
            pairs[sock].sendall(data)
        except OSError:
            pass
