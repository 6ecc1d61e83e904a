#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on Debian 12, as root.
# Idempotent: when all is present it only checks and returns within a second or two.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

# wine32:i386 runs the 32-bit deliverables where the kernel executes 32-bit
# code; wine64 and the x86-64 compilers serve kernels that do not (see README).
packages=(wine wine32:i386 wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
          cmake ninja-build xvfb openssl libssl-dev googletest g++ python3 dpkg-dev
          binutils-mingw-w64-i686 imagemagick)

missing=()
dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; need_update=1; }
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# jsoncpp comes from Debian's source package, so a deb-src entry must exist.
src=/etc/apt/sources.list.d/pelorin-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src .*bookworm.* main' /etc/apt/sources.list; then
    cat > "$src" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    need_update=1
fi

jsoncpp_dir="$here/third_party/jsoncpp"
if [ ${#missing[@]} -gt 0 ] || [ "${need_update:-0}" = 1 ] || [ ! -f "$jsoncpp_dir/include/json/json.h" ]; then
    apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ ! -f "$jsoncpp_dir/include/json/json.h" ]; then
    tmp=$(mktemp -d)
    (cd "$tmp" && apt-get source -qq --download-only libjsoncpp >/dev/null 2>&1 && dpkg-source -x --skip-debianization libjsoncpp_*.dsc jsoncpp >/dev/null 2>&1)
    mkdir -p "$here/third_party"
    rm -rf "$jsoncpp_dir"
    mv "$tmp/jsoncpp" "$jsoncpp_dir"
    rm -rf "$tmp"
fi
