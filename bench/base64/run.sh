#!/usr/bin/env bash
# Builds the optimised native configuration and prints the Base64 table.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null
cmake --preset native-bench >/dev/null
cmake --build --preset native-bench --target bench_base64 >/dev/null
build/native-bench/bin/bench_base64
