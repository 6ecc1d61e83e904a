#!/usr/bin/env bash
# The main job: builds the Windows binaries, prepares a demo Wine prefix with a
# demo certificate whose key sits behind a PIN, and drives a whole signing
# session through Pelorin.exe and our OlmoSignCsp.dll, printing each request
# and response.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null
if scripts/runs-32bit; then preset=windows-x86; export WINEARCH=win32; else preset=windows-x64; export WINEARCH=win64; fi
# PELORIN_BUILD_DIR picks another build folder of the same preset.
build=${PELORIN_BUILD_DIR:-$root/build/$preset}
cmake --preset "$preset" -B "$build" >/dev/null
# The host and the vendor library, copied beside the test double of the
# selection dialog (nobody is at the keyboard), plus the certificate installer
# and the PIN-protected soft-token provider.
cmake --build "$build" --target keyinfra_folder_hostflow certinstall keyinfra_softtoken >/dev/null
folder="$build/cryptdlg-double/hostflow"

export WINEPREFIX="$build/demo-prefix"
scripts/wine-prefix up "$WINEPREFIX"
trap 'scripts/wine-prefix down "$WINEPREFIX"' EXIT
certinstall() { scripts/wine-run "$build/bin/certinstall.exe" "$@" </dev/null; }

serial=00D3A10001
pin=246810
certinstall register-provider >/dev/null
certinstall clear >/dev/null
certinstall add --ca "CN=Pelorin Demo CA, O=Pelorin Demo" --subject "CN=Demo Signer, O=Pelorin Demo, C=CN" \
    --serial "$serial" --provider softtoken --pin "$pin" >/dev/null
echo "Demo prefix $WINEPREFIX: certificate $serial (CN=Demo Signer, issued by CN=Pelorin Demo CA),"
echo "key in the PIN-protected soft-token provider, PIN $pin."
echo "Each request below is one run of $folder/Pelorin.exe under Wine."
python3 scripts/demo_flow.py "$folder/Pelorin.exe" "$serial" "$pin"
