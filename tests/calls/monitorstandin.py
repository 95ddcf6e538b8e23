#!/usr/bin/env python3
"""The router's call monitor: a line server on a free port. Prints the port, then sends every
line read from stdin (or from the script file given) to every connected client."""
import socket
import socketserver
import sys
import threading

clients = []
lock = threading.Lock()


class Client(socketserver.BaseRequestHandler):
    def handle(self):
        with lock:
            clients.append(self.request)
        while self.request.recv(1024):
            pass
        with lock:
            if self.request in clients:
                clients.remove(self.request)


def main():
    server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), Client)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print(server.server_address[1], flush=True)
    source = open(sys.argv[1], encoding="utf-8") if len(sys.argv) > 1 else sys.stdin
    for line in source:
        if line.strip() == "#clients":  # how many are connected, for the test to wait on
            with lock:
                print(len(clients), flush=True)
            continue
        if line.strip() == "#drop":  # the box restarts: every connection goes
            with lock:
                [client.shutdown(socket.SHUT_RDWR) for client in clients]
                clients.clear()
            continue
        with lock:
            for client in clients:
                client.sendall(line.rstrip("\n").encode() + b"\r\n")


if __name__ == "__main__":
    main()
