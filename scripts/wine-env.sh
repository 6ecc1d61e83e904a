# Sourced by the Wine scripts: picks the loader for the prefix's architecture.
# Debian's "wine" starts the 32-bit loader whenever it is installed, so a
# 64-bit prefix names the 64-bit loader itself.
if [ "${WINEARCH:-win32}" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    WINE=/usr/lib/wine/wine64
else
    WINE=wine
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and they cannot be downloaded.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
