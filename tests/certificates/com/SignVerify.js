// A page's signing sequence through the control: pick the certificate, export
// it, sign, verify. Argument: the signing certificate's serial in lower case.
// cscript exits 0 on an uncaught error, so every failure sets the exit code.
var failures = 0;
function check(what, actual, expected) {
    if (actual === expected) {
        WScript.Echo("ok: " + what);
    } else {
        WScript.Echo("FAIL: " + what + ": expected '" + expected + "', got '" + actual + "'");
        failures++;
    }
}
function repeat(text, times) {
    var out = "";
    for (var i = 0; i < times; i++) out += text;
    return out;
}

try {
    var serial = WScript.Arguments(0);
    var control = new ActiveXObject("WevraCtrl.1");

    check("the only match is selected without asking", control.SelectCert("script signer jq7", 0, 0), serial.toUpperCase());
    var cert = control.ExportUserCert(serial, 0);
    check("the exported certificate carries the serial", control.GetCertInfo(cert, 2), serial.toUpperCase());

    var data = "SGVsbG8sIHdvcmxkIQ=="; // "Hello, world!"
    var signed = control.SignData(serial, 1, data);
    check("signing gives a message", signed.length > 0, true);
    check("the message verifies for its data", control.VerifySignData(cert, 1, data, signed), 1);
    check("the certificate argument is not read", control.VerifySignData("", 1, data, signed), 1);
    check("other data does not verify", control.VerifySignData(cert, 1, "SGVsbG8sIHdvcmxkPw==" /* "Hello, world?" */, signed), 0);
    check("signType 0 signs nothing", control.SignData(serial, 0, data), "");
    check("signType 2 signs nothing", control.SignData(serial, 2, data), "");
    check("signType 2 verifies nothing", control.VerifySignData(cert, 2, data, signed), 0);

    var withZero = "YWJjAFg="; // a b c 0 X
    var zeroSigned = control.SignData(serial, 1, withZero);
    check("data with a zero byte verifies whole", control.VerifySignData(cert, 1, withZero, zeroSigned), 1);
    check("different bytes after the zero byte do not verify",
          control.VerifySignData(cert, 1, "YWJjAFk=", zeroSigned), 0);
    check("the data before the zero byte alone does not verify",
          control.VerifySignData(cert, 1, "YWJj", zeroSigned), 0);

    var emptySigned = control.SignData(serial, 1, "");
    check("empty data is signed", emptySigned.length > 0, true);
    check("a message with empty content never verifies", control.VerifySignData(cert, 1, "", emptySigned), 0);

    var large = repeat("QUJDREVGR0hJSktM", 1500); // 18000 bytes
    var largeSigned = control.SignData(serial, 1, large);
    check("a message longer than 8192 bytes is returned whole", largeSigned.length > 8192 * 4 / 3, true);
    check("the large message verifies", control.VerifySignData(cert, 1, large, largeSigned), 1);

    check("a message that is not signed data gives 0", control.VerifySignData(cert, 1, data, data), 0);
    check("an unknown serial signs nothing", control.SignData(serial + "00", 1, data), "");
} catch (e) {
    WScript.Echo("FAIL: exception " + e.message + " (" + (e.number >>> 0).toString(16) + ")");
    failures++;
}
WScript.Quit(failures === 0 ? 0 : 1);
