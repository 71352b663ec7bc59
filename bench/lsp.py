#!/usr/bin/env python3
"""The language server on a large document: the time from a one-character change to the
diagnostics it publishes, and the server's memory.

usage: lsp.py ZOLT [CHANGES]   (default 30 changes on the 60,000-line peer source)"""
import json
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent


def main():
    zolt = sys.argv[1]
    changes = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    work = pathlib.Path(tempfile.mkdtemp(prefix="zolt-lsp-bench-"))
    subprocess.run([sys.executable, str(HERE / "generate.py"), "peer", "1", str(work)], check=True)
    text = (work / "peer.asm").read_text(encoding="latin-1")
    server = subprocess.Popen([zolt, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def send(message):
        body = json.dumps(message).encode()
        server.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        server.stdin.flush()

    def receive():
        length = None
        while True:
            line = server.stdout.readline().rstrip(b"\r\n")
            if not line:
                break
            if line.lower().startswith(b"content-length"):
                length = int(line.split(b":")[1])
        return json.loads(server.stdout.read(length))

    def diagnostics():
        while True:
            message = receive()
            if message.get("method") == "textDocument/publishDiagnostics":
                return message

    uri = (work / "peer.asm").as_uri()
    send({"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {}})
    receive()
    start = time.perf_counter()
    send({"jsonrpc": "2.0", "method": "textDocument/didOpen",
          "params": {"textDocument": {"uri": uri, "version": 1, "text": text}}})
    diagnostics()
    opened = (time.perf_counter() - start) * 1000
    times = []
    for k in range(changes):
        # Alternately put a character into a comment-free line and take it out again.
        line = 30000 + k // 2
        edit = ({"range": {"start": {"line": line, "character": 0}, "end": {"line": line, "character": 0}},
                 "text": "x"} if k % 2 == 0 else
                {"range": {"start": {"line": line - 0, "character": 0}, "end": {"line": line, "character": 1}},
                 "text": ""})
        start = time.perf_counter()
        send({"jsonrpc": "2.0", "method": "textDocument/didChange",
              "params": {"textDocument": {"uri": uri, "version": k + 2}, "contentChanges": [edit]}})
        diagnostics()
        times.append((time.perf_counter() - start) * 1000)
    status = pathlib.Path(f"/proc/{server.pid}/status").read_text()
    fields = dict(line.split(":", 1) for line in status.splitlines() if ":" in line)
    send({"jsonrpc": "2.0", "id": 2, "method": "shutdown"})
    receive()
    send({"jsonrpc": "2.0", "method": "exit"})
    server.wait()
    size = (work / "peer.asm").stat().st_size
    print(f"document: {len(text.splitlines())} lines, {size} bytes; opened in {opened:.1f} ms")
    print(f"one-character change to diagnostics, {changes} changes: median "
          f"{statistics.median(times):.1f} ms, min {min(times):.1f}, max {max(times):.1f}")
    print(f"server memory: resident {fields['VmRSS'].strip()}, peak {fields['VmHWM'].strip()}")


if __name__ == "__main__":
    main()
