#!/usr/bin/env bash
# Times one request through Pelorin.exe (getVerinfo, getCertinfo, signData of
# 1 KiB) beside starting and ending a trivial console program under the same
# Wine in the same run, and prints both and their ratio.
# PELORIN_BUILD_DIR picks another build folder of the same preset.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null
if scripts/runs-32bit; then preset=windows-x86; export WINEARCH=win32; else preset=windows-x64; export WINEARCH=win64; fi
build=${PELORIN_BUILD_DIR:-$root/build/$preset}
cmake --preset "$preset" -B "$build" >/dev/null
cmake --build "$build" --target Pelorin OlmoSignCsp bench_trivial_console bench_trivial_crypto_console certinstall >/dev/null

export WINEPREFIX="$build/bench-prefix"
scripts/wine-prefix up "$WINEPREFIX"
trap 'scripts/wine-prefix down "$WINEPREFIX"' EXIT
serial=00BE0C0001
# A signing key in Wine's own RSA provider: no PIN, so nothing waits.
scripts/wine-run "$build/bin/certinstall.exe" clear </dev/null >/dev/null
scripts/wine-run "$build/bin/certinstall.exe" add --subject "CN=Bench Signer" --serial "$serial" </dev/null >/dev/null
echo "$preset build, Wine package $(dpkg-query -W -f='${Version}' wine 2>/dev/null)"
python3 bench/host/bench_host.py "$build/bin/Pelorin.exe" "$build/bin/bench_trivial_console.exe" \
    "$build/bin/bench_trivial_crypto_console.exe" "$serial" "${1:-15}"
