#!/usr/bin/env python3
"""Times one request through Pelorin.exe beside starting and ending a trivial
console program under the same Wine, in the same run.
A second baseline loads the same system DLLs as the host (crypt32, user32),
so the difference to it is the host's own work.
Usage: bench_host.py <Pelorin.exe> <trivial.exe> <trivial-crypto.exe> <serial> [runs]"""
import base64
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from pelorin_client import decode_response, request_frame, run_host, split_frame  # noqa: E402

EXE, TRIVIAL, TRIVIAL_CRYPTO, SERIAL = sys.argv[1:5]
RUNS = int(sys.argv[5]) if len(sys.argv) > 5 else 15


def run_checked(exe, stdin_bytes, expect_frame):
    run = run_host(exe, stdin_bytes)
    if run.status != 0 or (expect_frame and not run.output):
        raise RuntimeError("%s failed (status %d)" % (exe, run.status))
    if expect_frame:
        response = decode_response(split_frame(run.output))
        if response.get("errCode") != 0:
            raise RuntimeError("request failed: %r" % response)
    return run.seconds


def time_cases(cases):
    """Runs the cases in turn, RUNS rounds, so that a busy moment of the
    machine falls on all of them alike; (median ms, min ms) per case."""
    seconds = [[] for _ in cases]
    for _ in range(RUNS):
        for i, (_, exe, stdin_bytes, expect) in enumerate(cases):
            seconds[i].append(run_checked(exe, stdin_bytes, expect))
    return [(statistics.median(s) * 1000, min(s) * 1000) for s in seconds]


def main():
    # Warm-up: the first Wine process of a prefix pays for loading its libraries.
    run_host(TRIVIAL, b"")
    cert = decode_response(split_frame(run_host(EXE, request_frame(
        {"cmd": "getCertBase64", "certSerial": SERIAL})).output))["certBase64"]
    data = base64.b64encode(os.urandom(768)).decode()  # 1 KiB of text
    cases = [
        ("trivial console program (baseline)", TRIVIAL, b"", False),
        ("  the same, loading crypt32 + user32", TRIVIAL_CRYPTO, b"", False),
        ("getVerinfo", EXE, request_frame({"cmd": "getVerinfo"}), True),
        ("getCertinfo (subject CN)", EXE, request_frame({"cmd": "getCertinfo", "certBase64": cert, "index": 23}), True),
        ("signData, 1 KiB", EXE, request_frame({"cmd": "signData", "certSerial": SERIAL, "data": data}), True),
    ]
    print("%d rounds, through scripts/wine-run, wineserver kept alive" % RUNS)
    print("%-38s %9s %7s   %s" % ("", "median ms", "min ms", "ratio to baseline (median, min); ms over the DLL baseline"))
    results = time_cases(cases)
    (base_median, base_min), (dll_median, dll_min) = results[0], results[1]
    for (name, _, _, _), (median, best) in zip(cases, results):
        line = "%-38s %9.1f %7.1f   %.2f, %.2f" % (name, median, best, median / base_median, best / base_min)
        if name.startswith(("get", "sign")):
            line += "; %+.0f, %+.0f ms" % (median - dll_median, best - dll_min)
        print(line)
    print("The minimum is the steadier figure on a busy machine.")

if __name__ == "__main__":
    main()
