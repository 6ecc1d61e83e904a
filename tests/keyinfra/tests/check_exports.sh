#!/usr/bin/env bash
# check_exports.sh OBJDUMP DLL NAME...: the DLL exports each NAME undecorated
# (no @n suffix, no leading underscore) and imports only system DLLs.
set -u
objdump=$1 dll=$2
shift 2
table=$("$objdump" -p "$dll") || { echo "cannot read $dll"; exit 1; }
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$table")
status=0
for name in "$@"; do
    grep -qE "\] $name\$" <<<"$exports" || { echo "missing export: $name"; status=1; }
done
if grep -qE '@[0-9]+$' <<<"$exports"; then
    echo "decorated exports:"; grep -E '@[0-9]+$' <<<"$exports"; status=1
fi
imports=$(grep -i 'DLL Name:' <<<"$table" | awk '{print tolower($3)}')
for lib in $imports; do
    case "$lib" in
    kernel32.dll|advapi32.dll|crypt32.dll|user32.dll|msvcrt.dll|oleaut32.dll|ole32.dll|api-ms-win-*) ;;
    *) echo "unexpected import: $lib"; status=1 ;;
    esac
done
[ $status -eq 0 ] && echo "exports ok: $*"
exit $status
