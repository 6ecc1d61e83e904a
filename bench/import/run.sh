#!/usr/bin/env bash
# Builds the 64-bit Windows configuration and prints the import table, run
# under Wine in that build's prefix: ImportTrustCert(0) on 10 KB, 1 MB and
# 50 MB address books beside plain copies of the same bytes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target bench_import >/dev/null
export WINEARCH=win64 WINEPREFIX="$root/build/windows-x64/wine-prefix"
scripts/wine-prefix up "$WINEPREFIX"
trap 'scripts/wine-prefix down "$WINEPREFIX"' EXIT
scripts/wine-run build/windows-x64/bin/bench_import.exe "Z:$root/control/resources/certs"
