#!/usr/bin/env bash
# The main job: builds the Windows binaries and shows the shared certificate
# helpers reading every field of a certificate, under Wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null
if scripts/runs-32bit; then preset=windows-x86; export WINEARCH=win32; else preset=windows-x64; export WINEARCH=win64; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target certinfo_demo >/dev/null
export WINEPREFIX="$root/build/$preset/demo-prefix"
scripts/wine-prefix up "$WINEPREFIX"
trap 'scripts/wine-prefix down "$WINEPREFIX"' EXIT
cert=${1:-$root/tests/fixtures/certs/rsa-v3-dated.der}
echo "Fields of $cert (code, text):"
scripts/wine-run "build/$preset/bin/certinfo_demo.exe" "Z:$cert"
