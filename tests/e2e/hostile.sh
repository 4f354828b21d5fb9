#!/usr/bin/env bash
# Under a file size limit that neither the list nor the settings file fits in, a save and the
# settings write at close fail with their messages as on a full disk: the program stays, and
# both files stay as they were.
source "$(dirname "$0")/lib.sh"
program=$1

lists=$E2E_TMP/lists
mkdir -p "$lists"
for i in $(seq 1000 2999); do printf 'Caption %s\r\n' "$i"; done >"$lists/long.lst"
cp "$lists/long.lst" "$E2E_TMP/long.before"
ini=$windir/QuarnelApps.ini
for i in $(seq 1000 2999); do printf 'Key%s=value\r\n' "$i"; done |
    { printf '[Other Tool Settings]\r\n'; cat; } >"$ini"
cp "$ini" "$E2E_TMP/ini.before"

# Dismisses the error box that $1 is expected in, once sure the program is still there.
expect_error() {
    local box text
    box=$(e2e_wait_window "^Error$")
    kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the program ended at: $1"
    e2e_focus "$box"
    e2e_key Return
    e2e_focus "$E2E_WINDOW"
}

# 8 KiB: the list is 30 KiB, the settings file 34 KiB.
e2e_start bash -c 'ulimit -f 8; exec "$0"' "$program"
e2e_key alt+f
e2e_key o
dialog=$(e2e_wait_window "^Open")
e2e_focus "$dialog"
e2e_type "$lists/long.lst"
e2e_key Return
e2e_focus "$E2E_WINDOW"
title=$(e2e_title)
[ "$title" = "Quarnel 1.0 - [long.lst]" ] || e2e_fail "title after opening '$title'"

e2e_key ctrl+s
expect_error "Stream write error"
cmp -s "$lists/long.lst" "$E2E_TMP/long.before" || e2e_fail "the list changed"
[ "$(ls "$lists")" = long.lst ] || e2e_fail "files left beside the list: $(ls "$lists")"

e2e_key alt+f
e2e_key x
expect_error "Unable to write to $ini"
cmp -s "$ini" "$E2E_TMP/ini.before" || e2e_fail "the settings file changed"
echo "hostile e2e passed"
