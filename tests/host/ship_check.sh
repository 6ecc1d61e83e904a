#!/usr/bin/env bash
# Checks of the shipped Pelorin.exe and OlmoSignCsp.dll that need no Wine:
# undecorated __stdcall exports and imports, system-only DLL imports, a
# console program with its manifest.
# Usage: ship_check.sh <objdump> <Pelorin.exe> <OlmoSignCsp.dll> <expected format, e.g. pei-i386>
set -u
objdump=$1 exe=$2 dll=$3 format=$4
functions="CSP_CSPVerifySignPKCS7 CSP_GetUserCertBySerialNum CSP_SelectCertForIssuerDialog CSP_SignPKCS7ForSerialNum CSP_VerifyCertPin"
system_dlls="ADVAPI32.dll CRYPT32.dll KERNEL32.dll msvcrt.dll USER32.dll"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

exe_dump=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }
dll_dump=$("$objdump" -p "$dll") || { echo "cannot read $dll"; exit 1; }

for file in "$exe" "$dll"; do
    "$objdump" -f "$file" | grep -q "file format $format" || fail "$file is not $format"
done

exports=$(echo "$dll_dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -o 'CSP_[A-Za-z0-9_@]*' | sort | tr '\n' ' ')
[ "$exports" = "$functions " ] || fail "OlmoSignCsp.dll exports '$exports', expected '$functions '"

# The host imports the five functions by their undecorated names.
olmo_imports=$(echo "$exe_dump" | sed -n '/DLL Name: OlmoSignCsp.dll/,/^$/p' | grep -o 'CSP_[A-Za-z0-9_@]*' | sort | tr '\n' ' ')
[ "$olmo_imports" = "$functions " ] || fail "Pelorin.exe imports '$olmo_imports' from OlmoSignCsp.dll"

for file in "$exe" "$dll"; do
    dump=$("$objdump" -p "$file")
    for name in $(echo "$dump" | sed -n 's/.*DLL Name: //p'); do
        case " $system_dlls OlmoSignCsp.dll " in
        *" $name "*) ;;
        *) fail "$(basename "$file") imports $name" ;;
        esac
    done
done

echo "$exe_dump" | grep -Eq '^Subsystem[[:space:]]+0+3[[:space:]]' || fail "Pelorin.exe is not a console program"
grep -aq 'level="asInvoker" uiAccess="false"' "$exe" || fail "Pelorin.exe has no asInvoker manifest"
grep -aq '<dpiAware[^>]*>true</dpiAware>' "$exe" || fail "Pelorin.exe does not declare itself DPI-aware"

[ "$failures" -eq 0 ] && echo "all ship checks passed"
exit $((failures > 0))
