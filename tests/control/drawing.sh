#!/usr/bin/env bash
# Runs the drawing test and keeps its picture as a PNG artifact of the run:
# $PELORIN_BINARY_DIR/artifacts/wevractrl-draw.png.
set -u
exe=$1
artifacts="$PELORIN_BINARY_DIR/artifacts"
mkdir -p "$artifacts"
rm -f "$artifacts/wevractrl-draw.bmp" "$artifacts/wevractrl-draw.png"
WEVRA_ARTIFACT_DIR="Z:$artifacts" "$PELORIN_WINE_RUN" "$exe" --gtest_filter=-WindowedInPlace.*
status=$?
if [ -f "$artifacts/wevractrl-draw.bmp" ]; then
    convert "$artifacts/wevractrl-draw.bmp" -alpha off "$artifacts/wevractrl-draw.png" && rm -f "$artifacts/wevractrl-draw.bmp"
    echo "picture: $artifacts/wevractrl-draw.png"
else
    echo "FAIL: no picture was saved"
    status=1
fi
exit $status
