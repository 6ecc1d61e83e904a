// A page's call of ImportTrustCert from script: the result comes back as a
// number, and the lID argument is converted like any scripted argument.
// It works in the prefix's own APPDATA (Wine's WScript.Shell cannot change a
// process variable): the Adobe folder there is made here and removed again.
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

var files = new ActiveXObject("Scripting.FileSystemObject");
var shell = new ActiveXObject("WScript.Shell");
// Wine's expansion keeps the terminating NUL in the string.
function expand(text) { return shell.ExpandEnvironmentStrings(text).replace(/\u0000/g, ""); }
var appData = expand("%APPDATA%");
var scratchFolder = expand("%TEMP%") + "\\import-trust-cert-script";
var madeAdobe = false;
try {
    if (files.FolderExists(appData + "\\Adobe")) throw new Error("the prefix already has an Adobe folder");
    if (!files.FolderExists(scratchFolder)) files.CreateFolder(scratchFolder);
    shell.CurrentDirectory = scratchFolder;
    var control = new ActiveXObject("WevraCtrl.1");

    check("no security folder", control.ImportTrustCert(0), -1);
    var folder = appData;
    var parts = ["Adobe", "Acrobat", "11.0", "Security"];
    for (var i = 0; i < parts.length; i++) {
        folder += "\\" + parts[i];
        files.CreateFolder(folder);
        madeAdobe = true;
    }
    check("default address book written", control.ImportTrustCert(0), -2);
    check("default address book exists", files.FileExists(folder + "\\addressbook.acrodata"), true);
    var defaultSize = files.GetFile(folder + "\\addressbook.acrodata").Size;
    check("all six imported", control.ImportTrustCert(0), 0);
    check("address book grew", files.GetFile(folder + "\\addressbook.acrodata").Size > defaultSize, true);
    check("no backup left", files.FileExists(folder + "\\temp.acrodata"), false);
    check("no scratch template left", files.FileExists(scratchFolder + "\\acrodata.tmp"), false);
    check("lID given as text", control.ImportTrustCert("1"), 0);
    check("lID selecting nothing", control.ImportTrustCert(42), 0);
} catch (e) {
    WScript.Echo("FAIL: exception " + e.message + " (" + (e.number >>> 0).toString(16) + ")");
    failures++;
}
try {
    shell.CurrentDirectory = appData;
    if (madeAdobe) files.DeleteFolder(appData + "\\Adobe", true);
    if (files.FolderExists(scratchFolder)) files.DeleteFolder(scratchFolder, true);
} catch (e) {
    WScript.Echo("FAIL: cleaning up: " + e.message);
    failures++;
}
WScript.Quit(failures === 0 ? 0 : 1);
