#!/usr/bin/env python3
"""Replays a conversation with `zolt lsp` through its standard input and output.

usage: conversation.py ZOLT FILE.test

A .test file is a sequence of lines:
  # ...              a comment
  --> {json}         a message sent to the server, framed with its Content-Length
  ==> text           raw bytes sent as they are (\\r, \\n, \\\\ and \\xhh are escapes): broken frames
  <-- {json}         the next message the server sends must contain this: every key given has the
                     value given (objects compared key by key, arrays element by element, in order;
                     "..." as the last element of an array lets further elements follow)
  <-- exit N         the server ends with status N and sends nothing more
A message that goes on over several lines continues on lines that begin with a blank.
The expectation "{...}" in a value matches anything.
"""
import json
import re
import subprocess
import sys


def unescape(text):
    return re.sub(r"\\(r|n|\\|x[0-9a-fA-F]{2})",
                  lambda m: {"r": "\r", "n": "\n", "\\": "\\"}.get(m.group(1)) or
                  chr(int(m.group(1)[1:], 16)), text)


def matches(want, got, path="$"):
    if want == "{...}":
        return None
    if isinstance(want, dict):
        if not isinstance(got, dict):
            return f"{path}: expected an object, got {json.dumps(got)[:200]}"
        for key, value in want.items():
            if key not in got:
                return f"{path}.{key}: missing in {json.dumps(got)[:300]}"
            problem = matches(value, got[key], f"{path}.{key}")
            if problem:
                return problem
        return None
    if isinstance(want, list):
        if not isinstance(got, list):
            return f"{path}: expected an array, got {json.dumps(got)[:200]}"
        open_end = bool(want) and want[-1] == "..."
        items = want[:-1] if open_end else want
        if len(got) < len(items) or (not open_end and len(got) != len(items)):
            return f"{path}: {len(got)} elements, expected {len(items)}: {json.dumps(got)[:300]}"
        for i, value in enumerate(items):
            problem = matches(value, got[i], f"{path}[{i}]")
            if problem:
                return problem
        return None
    if want != got:
        return f"{path}: expected {json.dumps(want)}, got {json.dumps(got)[:300]}"
    return None


def read_message(stream):
    length = None
    while True:
        line = stream.readline()
        if not line:
            return None
        line = line.rstrip(b"\r\n")
        if not line:
            break
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value.strip())
    return json.loads(stream.read(length))


def steps(path):
    lines = open(path, encoding="utf-8").read().split("\n")
    current = None
    for line in lines:
        if line.startswith(" ") and current is not None:
            current[1] += "\n" + line
            continue
        if current is not None:
            yield tuple(current)
            current = None
        if line.startswith(("-->", "==>", "<--")):
            current = [line[:3], line[4:]]
    if current is not None:
        yield tuple(current)


def main():
    zolt, path = sys.argv[1], sys.argv[2]
    server = subprocess.Popen([zolt, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE)
    failures = []
    for kind, text in steps(path):
        if kind == "-->":
            body = json.dumps(json.loads(text)).encode()
            server.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
            server.stdin.flush()
        elif kind == "==>":
            server.stdin.write(unescape(text).encode("latin-1"))
            server.stdin.flush()
        elif text.startswith("exit"):
            server.stdin.close()
            status = server.wait(timeout=20)
            extra = server.stdout.read()
            if status != int(text.split()[1]):
                failures.append(f"exit status {status}, expected {text.split()[1]}")
            if extra:
                failures.append(f"the server sent more: {extra[:300]!r}")
            break
        else:
            got = read_message(server.stdout)
            if got is None:
                failures.append(f"no message where {text[:100]} was expected")
                break
            problem = matches(json.loads(text), got)
            if problem:
                failures.append(problem)
    else:
        server.stdin.close()
        server.wait(timeout=20)
    errors = server.stderr.read()
    if errors:
        failures.append(f"standard error: {errors[:300]!r}")
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"{path}: every message as expected")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
