#!/usr/bin/env bash
# Windowed in-place activation needs a display: runs that test under Xvfb, on
# a desktop of its own (the prefix's default desktop may have been made
# without a display by earlier tests), where it must pass and not be skipped.
set -u
exe=$(echo "Z:$1" | tr / '\\')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
xvfb-run -a "$PELORIN_WINE_RUN" explorer /desktop=WevraWindowedTest,640x480 "$exe" \
    --gtest_filter='WindowedInPlace.*' --gtest_output="xml:Z:$work/result.xml" </dev/null >"$work/log" 2>&1
cat "$work/log"
result="$work/result.xml"
if [ ! -f "$result" ]; then
    echo "FAIL: the test did not run"
    exit 1
fi
grep -q 'tests="1"' "$result" || { echo "FAIL: the windowed test was not found"; exit 1; }
grep -q 'failures="0"' "$result" || { echo "FAIL: the windowed test failed"; exit 1; }
grep -q 'skipped="0"' "$result" || { echo "FAIL: no window could be made even under Xvfb"; exit 1; }
echo "ok: windowed activation"
