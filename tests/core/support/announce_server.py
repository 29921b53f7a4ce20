#!/usr/bin/env python3
"""Loopback stand-in for the announcement service, started by the fetch tests.

usage: announce_server.py DIR [PORT [LIFETIME]]

Listens on 127.0.0.1 at PORT (default: a free one) and writes the port to
DIR/port. The reply is chosen by the request's softid value (see REPLIES; the
program's own id "Ruzidudu" gets three demonstration lines, so a build whose
site host is 127.0.0.1:PORT shows a rotating strip); the raw request bytes are
written to DIR/<softid>.request. Ends by itself after LIFETIME seconds
(default 300).
"""
import os
import re
import socket
import sys
import threading
import time

LIFETIME = 300
CAP = 64 * 1024


def ok(body, status="200 OK"):
    if isinstance(body, str):
        body = body.encode("utf-8")
    head = "HTTP/1.1 %s\r\nContent-Type: text/html\r\nContent-Length: %d\r\n\r\n" % (
        status, len(body))
    return head.encode("ascii") + body


def padded(size):
    record = b'[{"t":"A","u":"B"}]'
    return ok(record + b" " * (size - len(record)))


REPLIES = {
    "Ruzidudu": ok('[{"t":"<>Loopback announcement one","u":"http://127.0.0.1/one"},'
                   '{"t":"Announcement two","u":"http://127.0.0.1/two"},'
                   '{"t":"%E5%85%AC%E5%91%8A%E4%B8%89","u":"http://127.0.0.1/three"}]'),
    "good": ok('[{"t":"One","u":"http://one.example/1"},{"t":"<>Two","u":"L2"}]'),
    "chinese": ok('[{"t":"中文公告","u":"http://x.example/"}]'),
    "empty": ok("[]"),
    "nobody": ok(""),
    "crlf": ok('[{"t":"One","u":"L1"}]\r\n'),
    "status204": ok("", "204 No Content"),
    "status404": ok('[{"t":"A","u":"B"}]', "404 Not Found"),
    "status500": ok('[{"t":"A","u":"B"}]', "500 Internal Server Error"),
    "status302": (b"HTTP/1.1 302 Found\r\nLocation: /rjservlet?softid=redirected\r\n"
                  b"Content-Length: 19\r\n\r\n[{\"t\":\"A\",\"u\":\"B\"}]"),
    "status304": b"HTTP/1.1 304 Not Modified\r\n\r\n",
    "status401": (b"HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"\r\n"
                  b"Content-Length: 19\r\n\r\n[{\"t\":\"A\",\"u\":\"B\"}]"),
    "atcap": padded(CAP),
    "overcap": padded(CAP + 1),
    "badutf8": ok(b'[{"t":"\xc3(","u":"x"}]'),
    "badpercent": ok('[{"t":"100%","u":"x"}]'),
    "gbk": ok('[{"t":"%D6%D0%CE%C4","u":"http://x.example/%2B"}]'),
    "notgbk": ok('[{"t":"%FF%FF","u":"x"}]'),
    "close": b"",
}


def softid(request):
    match = re.search(rb"[?&]softid=([^& ]*)", request)
    return match.group(1).decode("latin-1") if match else ""


def serve(conn, folder):
    with conn:
        conn.settimeout(30)
        request = b""
        try:
            while b"\r\n\r\n" not in request:
                chunk = conn.recv(4096)
                if not chunk:
                    return
                request += chunk
        except OSError:
            return
        name = softid(request)
        safe = re.sub(r"[^A-Za-z0-9_-]", "_", name) or "none"
        with open(os.path.join(folder, safe + ".request"), "wb") as out:
            out.write(request)
        if name == "silent":
            time.sleep(60)  # accepts and never answers
            return
        try:
            conn.sendall(REPLIES.get(name, ok("", "404 Not Found")))
        except OSError:
            pass


def main():
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    lifetime = int(sys.argv[3]) if len(sys.argv) > 3 else LIFETIME
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(16)
    listener.settimeout(1)
    tmp = os.path.join(folder, "port.tmp")
    with open(tmp, "w") as out:
        out.write(str(listener.getsockname()[1]))
    os.rename(tmp, os.path.join(folder, "port"))
    end = time.monotonic() + lifetime
    while time.monotonic() < end:
        try:
            conn, _ = listener.accept()
        except socket.timeout:
            continue
        threading.Thread(target=serve, args=(conn, folder), daemon=True).start()


if __name__ == "__main__":
    main()
