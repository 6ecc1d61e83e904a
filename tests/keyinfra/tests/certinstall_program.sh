#!/usr/bin/env bash
# certinstall.exe itself: its exit status and the lines a shell script reads.
set -u
exe=$1
run() { "$PELORIN_WINE_RUN" "$exe" "$@"; }
fail() { echo "FAIL: $*"; exit 1; }

run clear || fail "clear"
out=$(run add --subject "CN=Script User" --serial 00A1B2 --container keyinfra-script) || fail "add: $out"
echo "$out"
grep -qx 'serial=00A1B2' <<<"$out" || fail "no serial line"
grep -qx 'subject=CN=Script User' <<<"$out" || fail "no subject line"
[[ "$out" != *$'\r'* ]] || fail "lines end in CR LF"
listed=$(run list) || fail "list"
[ "$listed" = $'00A1B2\tkeyinfra-script\tCN=Script User' ] || fail "list printed: $listed"
run add --bogus >/dev/null 2>&1
[ $? -eq 2 ] || fail "a bad option does not exit with 2"
run clear || fail "clear"
[ -z "$(run list)" ] || fail "store not empty after clear"
echo "ok"
