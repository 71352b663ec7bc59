#!/usr/bin/env python3
"""Stands in for zolt in the editor tests until the real program is there.

zolt check FILE...  prints zolt_check_output.txt (diagnostics in the form zolt check uses) and
                    exits with status 1, as after an error.
zolt lsp            a language server that answers initialize and shutdown, and on every
                    didOpen publishes one diagnostic whose message names the document's language.
Every command line and every method received is appended to $ZOLT_FAKE_LOG.
"""
import json
import os
import sys
from pathlib import Path


def log(text):
    with open(os.environ.get("ZOLT_FAKE_LOG", os.devnull), "a") as f:
        f.write(text + "\n")


def read_message(stream):
    length = None
    while True:
        header = stream.readline()
        if not header:
            return None
        header = header.strip()
        if not header:
            break
        name, _, value = header.decode().partition(":")
        if name.lower() == "content-length":
            length = int(value)
    return json.loads(stream.read(length))


def send(stream, message):
    body = json.dumps(message).encode()
    stream.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
    stream.flush()


def serve():
    stdin, stdout = sys.stdin.buffer, sys.stdout.buffer
    while (message := read_message(stdin)) is not None:
        method = message.get("method")
        log("lsp " + str(method))
        if method == "initialize":
            send(stdout, {"jsonrpc": "2.0", "id": message["id"],
                          "result": {"capabilities": {"textDocumentSync": 1},
                                     "serverInfo": {"name": "fake zolt"}}})
        elif method == "textDocument/didOpen":
            document = message["params"]["textDocument"]
            send(stdout, {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics",
                          "params": {"uri": document["uri"], "diagnostics": [{
                              "range": {"start": {"line": 2, "character": 1},
                                        "end": {"line": 2, "character": 4}},
                              "severity": 1, "source": "zolt", "code": "invalid-instruction",
                              "message": "invalid instruction in a " + document["languageId"]
                                         + " document"}]}})
        elif method == "shutdown":
            send(stdout, {"jsonrpc": "2.0", "id": message["id"], "result": None})
        elif method == "exit":
            return
        elif "id" in message:
            send(stdout, {"jsonrpc": "2.0", "id": message["id"],
                          "error": {"code": -32601, "message": "method not found"}})


def main():
    log(" ".join(sys.argv[1:]))
    if sys.argv[1:2] == ["check"]:
        sys.stdout.write((Path(__file__).parent / "zolt_check_output.txt").read_text())
        return 1
    if sys.argv[1:] == ["lsp"]:
        serve()
        return 0
    return 2


if __name__ == "__main__":
    sys.exit(main())
