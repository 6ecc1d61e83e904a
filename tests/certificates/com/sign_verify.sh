#!/usr/bin/env bash
# The JScript signing sequence against a certificate with a key in the
# personal store. Arguments: certinstall.exe, the control's DLL, the script.
set -u
certinstall=$1
dll=$2
script=$3
here=$(cd "$(dirname "$0")" && pwd)
install() { "$PELORIN_WINE_RUN" "$certinstall" "$@" >/dev/null; }

install clear || { echo "FAIL: certinstall clear"; exit 1; }
install add --subject "CN=Script Signer JQ7, O=Certops Test" --serial 7CEB01 || { echo "FAIL: certinstall add"; exit 1; }
"$here/../../control/script_client.sh" "$dll" "$script" 7ceb01
status=$?
install clear
exit $status
