#!/usr/bin/env python3
"""x_socket_relay.py FROM TO [EXTENSION]: relays X clients connecting to the Unix socket FROM to
the X server's socket TO.

On SIGUSR1 it stops reading from its clients and keeps its side open for writing, so that a
client's next write to the display fails (EPIPE, which raises SIGPIPE) while its reads find
nothing wrong: the display's socket gone as a write first notices it.

Given EXTENSION, it ends a client's connection, as a server that went away, when the client
first asks whether the server has that extension (QueryExtension): for MIT-SHM that is the GL
library in the middle of making its first window, where it reads the server's answers itself."""
import select
import signal
import socket
import struct
import sys

listen_path, server_path = sys.argv[1], sys.argv[2]
end_at = sys.argv[3].encode() if len(sys.argv) > 3 else None
QUERY_EXTENSION = 98


class Requests:
    """The client's byte stream cut into its connection set-up and requests (little-endian
    clients, as every client here is)."""

    def __init__(self):
        self.pending = b""
        self.set_up = False

    def asks_for(self, data, extension):
        """Whether the requests completed by DATA include QueryExtension(EXTENSION)."""
        self.pending += data
        while True:
            b = self.pending
            if not self.set_up:
                if len(b) < 12:
                    return False
                name, key = struct.unpack_from("<HH", b, 6)
                size = 12 + (name + 3) // 4 * 4 + (key + 3) // 4 * 4
                self.set_up = len(b) >= size
            else:
                if len(b) < 4:
                    return False
                size = struct.unpack_from("<H", b, 2)[0]
                if size == 0:  # a big request: its length follows
                    if len(b) < 8:
                        return False
                    size = struct.unpack_from("<I", b, 4)[0]
                if len(b) >= size * 4 and b[0] == QUERY_EXTENSION:
                    length = struct.unpack_from("<H", b, 4)[0]
                    if b[8:8 + length] == extension:
                        return True
                size *= 4
            if len(b) < size:
                return False
            self.pending = b[size:]


listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
listener.bind(listen_path)
listener.listen(8)
pairs = {}  # socket -> the socket it relays to
clients = {}  # client socket -> its Requests
cut = False


def cut_clients(*_):
    global cut
    cut = True


def end(sock):
    other = pairs.pop(sock)
    pairs.pop(other, None)
    for s in (sock, other):
        clients.pop(s, None)
        s.close()


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
            clients[client] = Requests()
            continue
        if sock not in pairs:
            continue
        data = sock.recv(65536)
        if not data:
            end(sock)
            continue
        if end_at is not None and sock in clients and clients[sock].asks_for(data, end_at):
            end(sock)
            continue
        try:
            pairs[sock].sendall(data)
        except OSError:
            pass
