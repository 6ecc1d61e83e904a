#!/usr/bin/env bash
# A Windows program whose child process lingers with the inherited standard
# handles must not keep a pipe reader of our test output waiting.
set -u
exe=$1
start=$(date +%s)
out=$("$PELORIN_WINE_RUN" "$exe" 40 | cat)
elapsed=$(( $(date +%s) - start ))
echo "output: $out, returned after ${elapsed}s"
[ "$out" = "parent done" ] || { echo "unexpected output"; exit 1; }
[ "$elapsed" -lt 20 ] || { echo "the pipe was held open by the lingering child"; exit 1; }
