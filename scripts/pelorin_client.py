"""Talks to Pelorin.exe the way a browser does: frames on standard input,
one frame back on standard output. The host runs under Wine through
scripts/wine-run (PELORIN_WINE_RUN), with standard input from a file and its
output read from the wrapper, so no Wine process ever holds our pipes."""
import json
import os
import struct
import subprocess
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def frame(body):
    """A native-messaging frame: 4-byte little-endian length, then the body."""
    if isinstance(body, str):
        body = body.encode("utf-8")
    return struct.pack("<I", len(body)) + body


def request_frame(obj):
    return frame(json.dumps(obj, separators=(",", ":"), ensure_ascii=False))


class HostRun:
    def __init__(self, status, output, seconds):
        self.status = status
        self.output = output
        self.seconds = seconds


def run_host(exe, stdin_bytes, timeout=120, env=None):
    """Starts the host once with stdin_bytes as its whole input."""
    wine_run = os.environ.get("PELORIN_WINE_RUN", os.path.join(HERE, "wine-run"))
    with tempfile.NamedTemporaryFile(prefix="pelorin-in-", delete=False) as f:
        f.write(stdin_bytes)
        path = f.name
    try:
        with open(path, "rb") as stdin:
            started = time.monotonic()
            done = subprocess.run([wine_run, exe], stdin=stdin, stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE, timeout=timeout, env=env)
            return HostRun(done.returncode, done.stdout, time.monotonic() - started)
    finally:
        os.unlink(path)


def split_frame(output):
    """The body of the one frame in output; raises when output is not exactly one frame."""
    if len(output) < 4:
        raise ValueError("no frame in %r" % output)
    (length,) = struct.unpack("<I", output[:4])
    if len(output) != 4 + length:
        raise ValueError("frame length %d but %d body bytes" % (length, len(output) - 4))
    return output[4:]


def decode_response(body):
    """The response as a dict; GBK message texts are turned into str."""
    value = json.loads(body.decode("latin-1"))
    if isinstance(value, dict) and isinstance(value.get("errMsg"), str):
        value["errMsg"] = value["errMsg"].encode("latin-1").decode("gbk")
    return value


def ask(exe, obj, env=None):
    """Sends one request and returns the decoded response."""
    run = run_host(exe, request_frame(obj), env=env)
    if run.status != 0:
        raise RuntimeError("host ended with status %d" % run.status)
    return decode_response(split_frame(run.output))
