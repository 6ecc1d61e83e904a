#!/usr/bin/env bash
# Runs a JScript client of the control under Wine's cscript with the DLL
# registered per machine. Arguments: the DLL, the script, then its arguments.
set -u
. "$(dirname "$0")/wine-reg.sh"
dll=$(windows_path "$1")
script=$(windows_path "$2")
shift 2
regsvr "$dll" || { echo "FAIL: regsvr32 exit status $?"; exit 1; }
"$PELORIN_WINE_RUN" cscript //nologo "$script" "$@"
status=$?
regsvr /u "$dll"
exit $status
