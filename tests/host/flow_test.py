#!/usr/bin/env python3
"""The whole road through the real Pelorin.exe and the real OlmoSignCsp.dll,
with real certificates and keys in the test prefix: the key of the user's
certificate sits in the PIN-protected soft-token provider, the selection
dialog is the test double beside the program.
Usage: flow_test.py <folder>/Pelorin.exe <certinstall.exe>"""
import base64
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.environ["PELORIN_SOURCE_DIR"], "scripts"))
from pelorin_client import decode_response, request_frame, run_host, split_frame  # noqa: E402

EXE, CERTINSTALL = sys.argv[1], sys.argv[2]
WINE_RUN = os.environ["PELORIN_WINE_RUN"]
USER_SERIAL = "00A1B2C3D4"
DECOY_SERIAL = "0DEC01"
PIN = "1234"
failures = []


def certinstall(*args):
    # Non-ASCII names travel in an @file: the Wine command line follows the Unix locale.
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".args", delete=False) as f:
        f.write("\n".join(args) + "\n")
        path = f.name
    try:
        done = subprocess.run([WINE_RUN, CERTINSTALL, "@Z:" + path], stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    finally:
        os.unlink(path)
    if done.returncode != 0:
        raise RuntimeError("certinstall %s failed: %s" % (args[0], done.stderr.decode(errors="replace")))
    return dict(line.split("=", 1) for line in done.stdout.decode("utf-8").splitlines() if "=" in line)


def exchange(request, dialog="none", log=None):
    env = dict(os.environ, KEYINFRA_CRYPTDLG_SELECT=dialog)
    # No display: the message box of "qq" returns at once instead of waiting.
    env.pop("DISPLAY", None)
    if log:
        env["KEYINFRA_CRYPTDLG_LOG"] = "Z:" + log
    run = run_host(EXE, request_frame(request), env=env, timeout=120)
    if run.status != 0:
        raise RuntimeError("host ended with status %d for %r" % (run.status, request))
    return split_frame(run.output)


def check(name, got, expected):
    ok = got == expected
    print("%-58s %s" % (name, "ok" if ok else "FAILED"))
    if not ok:
        print("   expected %r\n   got      %r" % (expected, got))
        failures.append(name)


def error_body(code, gbk_hex):
    return b'{"errCode":%d,"errMsg":"%s","errShow":1}\n' % (code, bytes.fromhex(gbk_hex))


def main():
    certinstall("clear")
    # A decoy of another issuer: the dialog's log must show it hidden by the
    # issuer filter, whatever order the store enumerates in.
    certinstall("add", "--ca", "CN=Decoy CA, O=Elsewhere", "--subject", "CN=Decoy User", "--serial", DECOY_SERIAL)
    user = certinstall("add", "--ca", "CN=Pelorin 测试 CA, O=Pelorin Test", "--subject",
                       "CN=Flow User, O=Pelorin Test, C=CN", "--serial", USER_SERIAL,
                       "--provider", "softtoken", "--pin", PIN)

    with tempfile.TemporaryDirectory() as tmp:
        log = os.path.join(tmp, "dialog.log")
        body = exchange({"cmd": "getCertSerial", "issuer": "pelorin 测试"}, dialog="first", log=log)
        check("getCertSerial_issuerFilter_picksTheUsersCertificate", body,
              b'{"certSerial":"%s","errCode":0}\n' % USER_SERIAL.encode())
        lines = open(log, encoding="utf-8").read().splitlines()
        check("getCertSerial_dialogHidDecoyAndShowedUser",
              (any(l.startswith("hidden " + DECOY_SERIAL) for l in lines),
               any(l.startswith("shown " + USER_SERIAL) for l in lines)), (True, True))
    check("s_emptyIssuer_offersEveryCertificate",
          exchange({"cmd": "s", "issuer": ""}, dialog="serial:" + DECOY_SERIAL.lower()),
          b'{"certSerial":"%s","errCode":0}\n' % DECOY_SERIAL.encode())
    check("getCertSerial_dialogCancelled_2002", exchange({"cmd": "getCertSerial"}, dialog="none"),
          error_body(2002, "BBF1C8A1D6A4CAE9D0F2C1D0BAC5CAA7B0DC"))
    check("getCertSerial_noCertificateOfThatIssuer_2002",
          exchange({"cmd": "getCertSerial", "issuer": "No Such CA"}, dialog="first"),
          error_body(2002, "BBF1C8A1D6A4CAE9D0F2C1D0BAC5CAA7B0DC"))

    response = decode_response(exchange({"cmd": "getCertBase64", "certSerial": USER_SERIAL}))
    check("getCertBase64_theInstalledCertificate", response, {"certBase64": user["cert"], "errCode": 0})
    cert_b64 = response.get("certBase64", "")

    for index, info in [(23, "Flow User"), (2, USER_SERIAL), (5, "Pelorin Test"), (19, "CN")]:
        check("getCertinfo_index%d" % index,
              exchange({"cmd": "getCertinfo", "certBase64": cert_b64, "index": index}),
              b'{"errCode":0,"info":"%s"}\n' % info.encode())

    check("checkPin_right", exchange({"cmd": "checkPin", "certSerial": USER_SERIAL, "pin": PIN}),
          b'{"errCode":0}\n')
    for name, pin in [("wrong", "4321"), ("empty", ""), ("rightWithSuffix", PIN + "5")]:
        check("checkPin_%s_2007" % name, exchange({"cmd": "checkPin", "certSerial": USER_SERIAL, "pin": pin}),
              error_body(2007, "50494EB4EDCEF3"))

    data = "Pay 100 CNY to 张三, ref 7"
    response = decode_response(exchange({"cmd": "signData", "certSerial": USER_SERIAL, "data": data}))
    check("signData_answersASignature", sorted(response), ["errCode", "sign"])
    sign = response.get("sign", "")
    message = base64.b64decode(sign)
    content = subprocess.run(["openssl", "cms", "-verify", "-noverify", "-inform", "DER"], input=message,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE).stdout
    check("signData_attachedMessageOfTheUtf8Data_verifiedByOpenssl", content, data.encode("utf-8"))
    printed = subprocess.run(["openssl", "cms", "-cmsout", "-print", "-inform", "DER"], input=message,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE).stdout.decode(errors="replace")
    digest = "sha256" if "sha256" in printed else "sha1" if "sha1" in printed else "unknown"
    print("   (digest of the soft-token key's signature: %s)" % digest)

    check("signVerify_sameData", exchange({"cmd": "signVerify", "data": data, "sign": sign}), b'{"errCode":0}\n')
    tampered = bytearray(message)
    tampered[-8] ^= 0x01
    check("signVerify_tamperedSignature_2005",
          exchange({"cmd": "signVerify", "data": data, "sign": base64.b64encode(bytes(tampered)).decode()}),
          error_body(2005, "CAFDBEDDC7A9C3FBD1E9D6A4B3F6B4ED"))
    check("signVerify_otherData_2005", exchange({"cmd": "signVerify", "data": data + ".", "sign": sign}),
          error_body(2005, "CAFDBEDDC7A9C3FBD1E9D6A4B3F6B4ED"))
    check("signData_unknownSerial_2004",
          exchange({"cmd": "signData", "certSerial": DECOY_SERIAL + "FF", "data": data}),
          error_body(2004, "CAFDBEDDC7A9C3FBCAA7B0DC"))

    check("qq_dialogThenMessageBox_answersNull", exchange({"cmd": "qq"}, dialog="first"), b"null\n")

    certinstall("clear")
    print("%d checks failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
