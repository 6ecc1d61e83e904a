#!/usr/bin/env bash
# Runs the import tests through the real control: registers WevraPlugIn.dll
# per machine, runs the test program with its calls going through the
# control's IDispatch, and unregisters. Arguments: the DLL, the test program.
set -u
. "$PELORIN_SOURCE_DIR/tests/control/wine-reg.sh"
dll=$(windows_path "$1")
regsvr "$dll" || { echo "FAIL: regsvr32 exit status $?"; exit 1; }
PELORIN_IMPORT_VIA=control "$PELORIN_WINE_RUN" "$2" --gtest_filter='ImportTrustCertTest.*:-*resources*:*extractResource*'
status=$?
regsvr /u "$dll"
exit $status
