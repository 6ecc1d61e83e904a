#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs all tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh

# Wine runs the 32-bit build where the kernel executes 32-bit code; elsewhere
# the 32-bit deliverables are still built and checked, and the same sources
# are tested as a 64-bit build.
if scripts/runs-32bit; then
    test_preset=windows-x86
else
    test_preset=windows-x64
    echo "note: this kernel runs no 32-bit code; testing the windows-x64 build of the same sources"
fi

stop_wine() {
    for prefix in build/windows-*/wine-prefix; do
        [ -d "$prefix" ] && WINEPREFIX="$root/$prefix" wineserver -k </dev/null >/dev/null 2>&1 || true
    done
}
trap stop_wine EXIT

jobs=$(nproc)
for preset in native windows-x86 $([ "$test_preset" = windows-x64 ] && echo windows-x64); do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

status=0
ctest --preset native --no-tests=error || status=1
if [ "$test_preset" = windows-x64 ]; then
    # Checks of the shipped 32-bit binaries that need no Wine.
    ctest --preset windows-x86 -L ship || status=1
fi
ctest --preset "$test_preset" --no-tests=error || status=1
exit $status
