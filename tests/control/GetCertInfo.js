// A page's use of the control: create it by ProgID and read certificate
// fields. Arguments: the Base64 DER of tests/fixtures/certs/rsa-v3-dated.der.
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

try {
    var cert = WScript.Arguments(0);
    var control = new ActiveXObject("WevraCtrl.1");
    check("serial", control.GetCertInfo(cert, 2), "2016040508");
    check("issuer common name", control.GetCertInfo(cert, 8), "Fixture Root CA");
    check("subject organisation", control.GetCertInfo(cert, 20), "User Org");
    check("unknown info type gives empty text", control.GetCertInfo(cert, 99), "");
    check("undecodable certificate gives empty text", control.GetCertInfo("not a certificate", 2), "");
    check("number given as text is converted", control.GetCertInfo(cert, "1"), "2");
} catch (e) {
    WScript.Echo("FAIL: exception " + e.message + " (" + (e.number >>> 0).toString(16) + ")");
    failures++;
}
WScript.Quit(failures === 0 ? 0 : 1);
