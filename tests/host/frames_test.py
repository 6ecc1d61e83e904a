#!/usr/bin/env python3
"""Frames piped into the real Pelorin.exe under Wine: the exact bytes of each
answer, and clean endings on hostile input. Usage: frames_test.py Pelorin.exe"""
import base64
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.environ["PELORIN_SOURCE_DIR"], "scripts"))
from pelorin_client import frame, run_host  # noqa: E402

EXE = sys.argv[1]


def length(n):
    return struct.pack("<I", n)


def error(code, gbk_hex):
    body = b'{"errCode":%d,"errMsg":"%s","errShow":1}\n' % (code, bytes.fromhex(gbk_hex))
    return frame(body)


VERINFO_REQUEST = frame(b'{"cmd":"getVerinfo"}')
VERINFO = bytes.fromhex("1C000000") + b'{"errCode":0,"ver":"1.0.0"}\n'
UNSUPPORTED = error(10001, "B2BBD6A7B3D6B5C4B9A6C4DC")
CERT = open(os.path.join(os.environ["PELORIN_SOURCE_DIR"], "tests/fixtures/certs/rsa-v3-selfsigned.der"),
            "rb").read()
CERT_B64 = base64.b64encode(CERT)

# name, input bytes, expected output bytes (b"" when the host must answer nothing)
CASES = [
    ("getVerinfo_1C000000", VERINFO_REQUEST, VERINFO),
    ("messageWrapper", frame(b'{"message":{"cmd":"getVerinfo"}}'), VERINFO),
    ("messageWrapperWinsOverOuterCmd", frame(b'{"cmd":"signData","message":{"cmd":"getVerinfo"}}'), VERINFO),
    ("zeroLengthFrameFirst", length(0) + VERINFO_REQUEST, VERINFO),
    ("unparsableFrameFirst", frame(b'{"cmd":') + VERINFO_REQUEST, VERINFO),
    ("body256Bytes", frame(b'{"cmd":"getVerinfo"}'.ljust(256)), VERINFO),
    ("body4096Bytes", frame(b'{"cmd":"getVerinfo"}'.ljust(4096)), VERINFO),
    ("zeroByteInBody", frame(b'{"cmd":"getVerinfo"}\0{{{'), VERINFO),
    ("twoRequests_onlyTheFirstAnswered", VERINFO_REQUEST + frame(b'{"cmd":"importCertIssue"}'), VERINFO),
    ("comments", frame(b'/* c */ {"cmd": // x\n "getVerinfo"}'), VERINFO),
    ("lengthByte1A_notEndOfFile_answerWithLineFeed", frame(b'{"cmd":"importCertIssue"}'),
     frame(b'{"errCode":0}\n')),
    ("crlfInBody_untranslated", frame(b'{"cmd":\r\n"getVerinfo"}'), VERINFO),
    ("jsonNull_54ByteUnsupported", frame(b"null"), bytes.fromhex("36000000") + UNSUPPORTED[4:]),
    ("noCmd_unsupported", frame(b'{"issuer":"x"}'), UNSUPPORTED),
    ("otherLetterCase_unsupported", frame(b'{"cmd":"getverinfo"}'), UNSUPPORTED),
    ("rootArray_unsupported", frame(b'[1]'), UNSUPPORTED),
    ("cmdNumber_unsupported", frame(b'{"cmd":1}'), UNSUPPORTED),
    ("getCertBase64_unknownSerial_2003", frame(b'{"cmd":"getCertBase64","certSerial":"0102DEAD"}'),
     error(2003, "BBF1C8A1D6A4CAE9D0C5CFA2CAA7B0DC")),
    ("signData_unknownSerial_2004", frame(b'{"cmd":"signData","certSerial":"0102DEAD","data":"x"}'),
     error(2004, "CAFDBEDDC7A9C3FBCAA7B0DC")),
    ("signVerify_garbage_2005", frame(b'{"cmd":"signVerify","data":"x","sign":"MIIBAAAA"}'),
     error(2005, "CAFDBEDDC7A9C3FBD1E9D6A4B3F6B4ED")),
    ("signVerify_noSign_2005", frame(b'{"cmd":"signVerify","data":"x"}'),
     error(2005, "CAFDBEDDC7A9C3FBD1E9D6A4B3F6B4ED")),
    ("getCertinfo_notACertificate_2006", frame(b'{"cmd":"getCertinfo","certBase64":"AAAA","index":2}'),
     error(2006, "BBF1C8A1D6A4CAE9CFEEB4EDCEF3")),
    ("getCertinfo_indexString_2006",
     frame(b'{"cmd":"getCertinfo","certBase64":"' + CERT_B64 + b'","index":"23"}'),
     error(2006, "BBF1C8A1D6A4CAE9CFEEB4EDCEF3")),
    ("getCertinfo_indexArray_2006",
     frame(b'{"cmd":"getCertinfo","certBase64":"' + CERT_B64 + b'","index":[23]}'),
     error(2006, "BBF1C8A1D6A4CAE9CFEEB4EDCEF3")),
    ("getCertinfo_unknownCode_2006",
     frame(b'{"cmd":"getCertinfo","certBase64":"' + CERT_B64 + b'","index":12}'),
     error(2006, "BBF1C8A1D6A4CAE9CFEEB4EDCEF3")),
    ("getCertinfo_version", frame(b'{"cmd":"getCertinfo","certBase64":"' + CERT_B64 + b'","index":1}'),
     frame(b'{"errCode":0,"info":"2"}\n')),
    ("checkPin_unknownSerial_2007", frame(b'{"cmd":"checkPin","certSerial":"0102DEAD","pin":"1234"}'),
     error(2007, "50494EB4EDCEF3")),
    ("unknown_10001", frame(b'{"cmd":"deleteEverything"}'), UNSUPPORTED),
    # Hostile input: every one ends promptly with status 0.
    ("inputEmpty_noAnswer", b"", b""),
    ("inputEndsInLength_noAnswer", b"\x10\x00", b""),
    ("inputEndsInBody_whatArrivedAnswered", length(1000) + b'{"cmd":"getVerinfo"}', VERINFO),
    ("inputEndsInUnparsableBody_noAnswer", length(1000) + b'{"cmd":"get', b""),
    ("lengthFFFFFFFF_shortBody_answered", length(0xFFFFFFFF) + b'{"cmd":"getVerinfo"}', VERINFO),
    ("lengthFFFFFFFF_noBody_noAnswer", length(0xFFFFFFFF), b""),
    ("onlyDroppedFrames_noAnswer", length(0) + frame(b"{") + frame(b"[1,"), b""),
    ("bodyOf8MiB_answered", frame(b'{"cmd":"getVerinfo","pad":"' + b"p" * (8 << 20) + b'"}'), VERINFO),
    ("deeplyNestedArrays_droppedThenAnswered", frame(b"[" * 200000 + b"]" * 200000) + VERINFO_REQUEST, VERINFO),
    ("deeplyNestedObjects_droppedThenAnswered",
     frame(b'{"a":' * 20000 + b"1" + b"}" * 20000) + VERINFO_REQUEST, VERINFO),
    ("nestingAtTheParsersLimit_answered",
     frame(b'{"cmd":"getVerinfo","x":' + b"[" * 990 + b"]" * 990 + b"}"), VERINFO),
]


def main():
    failures = 0
    for name, stdin_bytes, expected in CASES:
        run = run_host(EXE, stdin_bytes, timeout=90)
        ok = run.status == 0 and run.output == expected
        print("%-50s %s (%.1fs)" % (name, "ok" if ok else "FAILED", run.seconds))
        if not ok:
            failures += 1
            print("   status   %d" % run.status)
            print("   expected %s" % expected[:200].hex(" "))
            print("   got      %s" % run.output[:200].hex(" "))
    print("%d of %d cases failed" % (failures, len(CASES)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
