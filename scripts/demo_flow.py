#!/usr/bin/env python3
"""Drives one signing session through Pelorin.exe, one process per request as
a browser does, and prints each request and response readably.
Usage: demo_flow.py <Pelorin.exe> <user serial> <PIN>"""
import base64
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pelorin_client import decode_response, request_frame, run_host, split_frame  # noqa: E402

EXE, SERIAL, PIN = sys.argv[1], sys.argv[2], sys.argv[3]
MEANINGS = {2002: "getting the certificate serial number failed", 2003: "getting the certificate information failed",
            2004: "signing the data failed", 2005: "verifying the data signature failed",
            2006: "error reading the certificate item", 2007: "wrong PIN", 10001: "unsupported function"}


def short(text, keep=48):
    return text if len(text) <= keep else "%s...(%d chars)" % (text[:keep], len(text))


def show(title, request, dialog="none"):
    print("\n== %s" % title)
    shown = {k: short(v) if isinstance(v, str) else v for k, v in request.items()}
    print("   request  %s" % json.dumps(shown, ensure_ascii=False))
    env = dict(os.environ, KEYINFRA_CRYPTDLG_SELECT=dialog)
    env.pop("DISPLAY", None)
    run = run_host(EXE, request_frame(request), env=env)
    body = split_frame(run.output)
    response = decode_response(body)
    print("   frame    length %s, %d bytes of JSON, exit status %d, %.2f s"
          % (run.output[:4].hex(" ").upper(), len(body), run.status, run.seconds))
    readable = dict(response) if isinstance(response, dict) else response
    if isinstance(readable, dict):
        for key in ("certBase64", "sign"):
            if key in readable:
                readable[key] = short(readable[key])
        if "errMsg" in readable:
            readable["errMsg"] += " (GBK on the wire: %s)" % MEANINGS.get(readable["errCode"], "?")
    print("   response %s" % json.dumps(readable, ensure_ascii=False))
    return response


def main():
    show("version", {"cmd": "getVerinfo"})
    chosen = show("pick a certificate of the demo CA (the dialog is answered by the test double: first shown)",
                  {"cmd": "getCertSerial", "issuer": "Pelorin Demo CA"}, dialog="first")
    serial = chosen.get("certSerial", SERIAL)
    cert = show("export it", {"cmd": "getCertBase64", "certSerial": serial}).get("certBase64", "")
    for index, what in [(23, "subject common name"), (8, "issuer common name"), (2, "serial"),
                        (17, "valid from"), (18, "valid to"), (3, "key algorithm")]:
        show("field %d: %s" % (index, what), {"cmd": "getCertinfo", "certBase64": cert, "index": index})
    show("check a wrong PIN", {"cmd": "checkPin", "certSerial": serial, "pin": "000000"})
    show("check the right PIN", {"cmd": "checkPin", "certSerial": serial, "pin": PIN})
    data = "Contract 2026-118: pay 1000 CNY to 张三"
    sign = show("sign", {"cmd": "signData", "certSerial": serial, "data": data}).get("sign", "")
    show("verify the signature", {"cmd": "signVerify", "data": data, "sign": sign})
    tampered = bytearray(base64.b64decode(sign))
    if tampered:
        tampered[-8] ^= 0x01
    show("verify a tampered signature", {"cmd": "signVerify", "data": data,
                                         "sign": base64.b64encode(bytes(tampered)).decode()})
    show("an unknown command", {"cmd": "formatDisk"})


if __name__ == "__main__":
    main()
