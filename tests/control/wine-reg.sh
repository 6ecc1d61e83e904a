# Registry helpers for the control's script tests (sourced). Every Wine
# program runs through $PELORIN_WINE_RUN; the keys are those of the prefix's
# native view (the 64-bit one in a win64 prefix). Wine starts each program in
# about a second, so the keys are read in one snapshot per step.
CLSID='{08E2ACF2-E1E8-4AAA-BC31-14CDE6E7FE5B}'
LIBID='{12D7E4BE-860B-4E39-9B0B-F27CB9105A19}'
APPID='{46E0505B-0B7D-4710-89D8-6DC42B562075}'
MACHINE_CLASSES='HKEY_LOCAL_MACHINE\Software\Classes'
USER_CLASSES='HKEY_CURRENT_USER\Software\Classes'
WATCHED_KEYS=("CLSID\\$CLSID" WevraCtrl WevraCtrl.1 "TypeLib\\$LIBID" "AppID\\$APPID")

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# The Windows path of a Linux file, as Wine's programs see it (drive Z:).
windows_path() { echo "Z:$1" | tr / '\\'; }

regsvr() { "$PELORIN_WINE_RUN" regsvr32 /s "$@"; }

# Reads every watched key, per machine and per user, with its subkeys.
snapshot() {
    local commands="reg query $MACHINE_CLASSES\\CLSID /ve"
    for classes in "$MACHINE_CLASSES" "$USER_CLASSES"; do
        for key in "${WATCHED_KEYS[@]}"; do commands+=" & reg query $classes\\$key /s"; done
    done
    snap=$("$PELORIN_WINE_RUN" cmd /c "$commands" 2>/dev/null | tr -d '\r')
}

has_key() { grep -qixF -- "$1" <<<"$snap"; }

# The data of a REG_SZ value in the snapshot; "(Default)" names the unnamed one.
value_of() {
    # Through the environment: awk -v would read backslashes as escapes.
    KEY="$1" NAME="$2" awk '
        BEGIN { key = ENVIRON["KEY"]; name = ENVIRON["NAME"] }
        tolower($0) == tolower(key) { inside = 1; next }
        inside && $0 == "" { exit }
        inside { line = $0; sub(/^    /, "", line)
                 split(line, part, "    ")
                 if (part[1] == name && part[2] == "REG_SZ") { sub(/^[^ ]+    REG_SZ    /, "", line); print line; exit } }
    ' <<<"$snap"
}

expect_key() { if has_key "$1"; then pass "$2"; else fail "$2 (missing $1)"; fi; }
expect_no_key() { if has_key "$1"; then fail "$2 (still there: $1)"; else pass "$2"; fi; }
expect_value() {
    local actual
    actual=$(value_of "$1" "$2")
    if [ "$actual" = "$3" ]; then pass "$4"; else fail "$4: expected '$3', found '$actual'"; fi
}

# Leaves no registration of the server behind, per machine or per user.
remove_all_registrations() {
    local dll=$1 commands="ver"
    regsvr /u "$dll" >/dev/null 2>&1
    regsvr /u /n /i:user "$dll" >/dev/null 2>&1
    for classes in "$MACHINE_CLASSES" "$USER_CLASSES"; do
        for key in "${WATCHED_KEYS[@]}"; do commands+=" & reg delete $classes\\$key /f"; done
    done
    "$PELORIN_WINE_RUN" cmd /c "$commands" >/dev/null 2>&1
}
