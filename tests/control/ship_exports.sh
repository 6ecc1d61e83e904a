#!/usr/bin/env bash
# Checks a shipped WevraPlugIn.dll without running it: the five exports under
# their undecorated names with ordinals 1 to 5, and imports of system DLLs only.
# Arguments: objdump program, DLL.
set -u
objdump=$1
dll=$2
dump=$("$objdump" -p "$dll") || { echo "FAIL: $objdump cannot read $dll"; exit 1; }
failures=0

base=$(sed -n 's/.*Ordinal Base[[:space:]]*\([0-9][0-9]*\).*/\1/p' <<<"$dump" | head -1)
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
               inside && /^\t\[ *[0-9]+\]/ { gsub(/[][]/, " "); print $1, $2; next }
               inside { exit }' <<<"$dump")
expected="DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer"
ordinal=1
for name in $expected; do
    index=$(awk -v n="$name" '$2 == n { print $1 }' <<<"$exports")
    if [ -z "$index" ]; then
        echo "FAIL: export $name missing (exports: $(echo $exports))"
        failures=$((failures + 1))
    elif [ $((index + base)) -ne $ordinal ]; then
        echo "FAIL: export $name has ordinal $((index + base)), expected $ordinal"
        failures=$((failures + 1))
    else
        echo "ok: $name @$ordinal"
    fi
    ordinal=$((ordinal + 1))
done
count=$(grep -c . <<<"$exports")
[ "$count" -eq 5 ] || { echo "FAIL: $count exports, expected 5"; failures=$((failures + 1)); }

system_dlls="kernel32.dll advapi32.dll crypt32.dll ole32.dll oleaut32.dll user32.dll gdi32.dll version.dll msvcrt.dll shell32.dll shlwapi.dll"
for imported in $(sed -n 's/.*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z'); do
    if grep -qw -- "$imported" <<<"$system_dlls"; then
        echo "ok: imports $imported"
    else
        echo "FAIL: imports $imported, which is not a system DLL"
        failures=$((failures + 1))
    fi
done
if grep -q 'Magic.*010b' <<<"$dump" || grep -q 'file format pei-i386' <<<"$("$objdump" -f "$dll")"; then
    echo "ok: 32-bit image"
else
    echo "FAIL: not a 32-bit image"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
