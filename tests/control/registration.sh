#!/usr/bin/env bash
# Registration of WevraPlugIn.dll through the real regsvr32: the keys of a
# per-machine registration, unregistration, per-user mode and DllInstall's
# argument rules.
set -u
. "$(dirname "$0")/wine-reg.sh"
dll=$(windows_path "$1")
clsid_key="$MACHINE_CLASSES\\CLSID\\$CLSID"
user_clsid_key="$USER_CLASSES\\CLSID\\$CLSID"

remove_all_registrations "$dll"

echo "== DllRegisterServer"
regsvr "$dll" && pass "regsvr32 succeeds" || fail "regsvr32 exit status $?"
snapshot
expect_value "$clsid_key" "(Default)" "WevraCtrl Class" "CLSID friendly name"
expect_value "$clsid_key\\ProgID" "(Default)" "WevraCtrl.1" "ProgID"
expect_value "$clsid_key\\VersionIndependentProgID" "(Default)" "WevraCtrl" "version-independent ProgID"
expect_value "$clsid_key\\InprocServer32" "(Default)" "$dll" "InprocServer32 holds the DLL path"
expect_value "$clsid_key\\InprocServer32" ThreadingModel "Apartment" "apartment threading"
expect_value "$clsid_key\\MiscStatus" "(Default)" "0" "MiscStatus"
expect_value "$clsid_key\\MiscStatus\\1" "(Default)" "131473" "MiscStatus\\1 holds the OLE misc status"
expect_value "$clsid_key\\ToolboxBitmap32" "(Default)" "$dll, 106" "toolbox bitmap"
expect_value "$clsid_key\\TypeLib" "(Default)" "$LIBID" "CLSID names the type library"
expect_value "$clsid_key\\Version" "(Default)" "1.0" "CLSID version"
expect_key "$clsid_key\\Programmable" "Programmable key"
expect_key "$clsid_key\\Control" "Control key"
expect_value "$MACHINE_CLASSES\\WevraCtrl.1" "(Default)" "WevraCtrl Class" "ProgID key"
expect_value "$MACHINE_CLASSES\\WevraCtrl.1\\CLSID" "(Default)" "$CLSID" "ProgID names the CLSID"
expect_value "$MACHINE_CLASSES\\WevraCtrl" "(Default)" "WevraCtrl Class" "version-independent ProgID key"
expect_value "$MACHINE_CLASSES\\WevraCtrl\\CurVer" "(Default)" "WevraCtrl.1" "current version of the ProgID"
expect_key "$MACHINE_CLASSES\\TypeLib\\$LIBID\\1.0" "type library registered"
expect_no_key "$MACHINE_CLASSES\\AppID\\$APPID" "no AppID key"
[ -z "$(value_of "$clsid_key" AppID)" ] && pass "no AppID value" || fail "AppID value written"

echo "== registering again replaces the ForceRemove key"
"$PELORIN_WINE_RUN" reg add "$clsid_key\\Stale" /f >/dev/null 2>&1
regsvr "$dll" && pass "second regsvr32 succeeds" || fail "second regsvr32 exit status $?"
snapshot
expect_no_key "$clsid_key\\Stale" "a key left under the CLSID is gone"
expect_key "$clsid_key\\InprocServer32" "the CLSID key is written again"

echo "== DllUnregisterServer"
regsvr /u "$dll" && pass "regsvr32 /u succeeds" || fail "regsvr32 /u exit status $?"
snapshot
expect_no_key "$clsid_key" "CLSID key removed"
expect_no_key "$MACHINE_CLASSES\\WevraCtrl.1" "ProgID removed"
expect_no_key "$MACHINE_CLASSES\\WevraCtrl" "version-independent ProgID removed"
expect_no_key "$MACHINE_CLASSES\\TypeLib\\$LIBID" "type library unregistered"
expect_key "$MACHINE_CLASSES\\CLSID" "HKCR\\CLSID stays"

echo "== DllInstall per user"
remove_all_registrations "$dll"
regsvr /n /i:USER "$dll" && pass "DllInstall(TRUE, USER) succeeds" || fail "DllInstall USER exit status $?"
snapshot
expect_value "$user_clsid_key\\InprocServer32" "(Default)" "$dll" "per-user InprocServer32"
expect_value "$user_clsid_key\\MiscStatus\\1" "(Default)" "131473" "per-user MiscStatus\\1"
expect_value "$USER_CLASSES\\WevraCtrl.1\\CLSID" "(Default)" "$CLSID" "per-user ProgID"
expect_value "$USER_CLASSES\\WevraCtrl\\CurVer" "(Default)" "WevraCtrl.1" "per-user version-independent ProgID"
expect_key "$USER_CLASSES\\TypeLib\\$LIBID\\1.0" "per-user type library"
expect_no_key "$clsid_key" "nothing under HKLM: CLSID"
expect_no_key "$MACHINE_CLASSES\\WevraCtrl.1" "nothing under HKLM: ProgID"
expect_no_key "$MACHINE_CLASSES\\WevraCtrl" "nothing under HKLM: version-independent ProgID"
expect_no_key "$MACHINE_CLASSES\\TypeLib\\$LIBID" "nothing under HKLM: type library"
regsvr /u /n /i:user "$dll" && pass "DllInstall(FALSE, user) succeeds" || fail "per-user uninstall exit status $?"
snapshot
expect_no_key "$user_clsid_key" "per-user CLSID removed"
expect_no_key "$USER_CLASSES\\WevraCtrl.1" "per-user ProgID removed"
expect_no_key "$USER_CLASSES\\TypeLib\\$LIBID" "per-user type library removed"

echo "== DllInstall arguments that mean per machine"
for argument in /i:user1 /i; do
    remove_all_registrations "$dll"
    regsvr /n "$argument" "$dll" && pass "DllInstall $argument succeeds" || fail "DllInstall $argument exit status $?"
    snapshot
    expect_key "$clsid_key\\InprocServer32" "$argument registers per machine"
    expect_no_key "$user_clsid_key" "$argument writes nothing per user"
done

remove_all_registrations "$dll"
echo "$failures failure(s)"
[ "$failures" -eq 0 ]
