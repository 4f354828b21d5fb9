#!/usr/bin/env bash
# A settings file prepared by hand places the window; a list opened through the File menu and
# its dialog is processed; closing writes the program's sections and keeps everyone else's; the
# next start comes back where the window was left.
source "$(dirname "$0")/lib.sh"
program=$1

ini=$windir/QuarnelApps.ini
# Another program's section with comments, byte for byte as it must stay.
printf '; shared by the family\r\n[Other Tool Window]\r\nLeft=7\n; keep this comment\r\n\r\n' \
    >"$E2E_TMP/foreign.ini"
{
    cat "$E2E_TMP/foreign.ini"
    printf '[Quarnel Window]\r\nLeft=100\r\nTop=80\r\nWidth=500\r\nHeight=400\r\n'
} >"$ini"

mkdir -p "$HOME/Documents"
lists="$E2E_TMP/my lists"
mkdir -p "$lists"
printf 'File\r\nEdit\r\nView\r\n' >"$lists/menu.lst"

window_bounds() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
    echo "$X,$Y,$WIDTH,$HEIGHT"
}

# The value of key $2 in section $1 of the settings file, without its line end.
ini_value() {
    awk -v section="[$1]" -v key="$2" '
        { sub(/\r$/, "") }
        /^\[/ { inside = ($0 == section); next }
        inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }
    ' "$ini"
}

expect_value() {
    local actual
    actual=$(ini_value "$1" "$2")
    [ "$actual" = "$3" ] || e2e_fail "[$1] $2='$actual', expected '$3'"
}

e2e_start "$program"
bounds=$(window_bounds)
[ "$bounds" = "100,80,500,400" ] || e2e_fail "bounds $bounds from the settings file"

e2e_key alt+f
e2e_key o
dialog=$(e2e_wait_window "^Open")
e2e_focus "$dialog"
e2e_type "$lists/menu.lst"
e2e_key Return
e2e_focus "$E2E_WINDOW"
title=$(e2e_title)
[ "$title" = "Quarnel 1.0 - [menu.lst]" ] || e2e_fail "title after opening '$title'"
e2e_key F9
title=$(e2e_title)
[ "$title" = "Quarnel 1.0 - [menu.lst]" ] || e2e_fail "title after processing '$title'"

xdotool windowmove "$E2E_WINDOW" 150 120
sleep 0.3
e2e_key alt+f
e2e_key x
e2e_wait_exit 10

foreign_size=$(wc -c <"$E2E_TMP/foreign.ini")
head -c "$foreign_size" "$ini" | cmp -s - "$E2E_TMP/foreign.ini" ||
    e2e_fail "the other program's section changed: $(od -c "$ini" | head -n 8)"
expect_value "Quarnel Window" Left 150
expect_value "Quarnel Window" Top 120
expect_value "Quarnel Window" Width 500
expect_value "Quarnel Window" Height 400
expect_value "Quarnel View" Column0 120
expect_value "Quarnel View" Column1 120
expect_value "Quarnel View" Column2 30
expect_value "Quarnel Settings" AccCode 38
expect_value "Quarnel Folders" Open "$lists"
# The save dialog was not used: it keeps the default, the user's documents folder.
expect_value "Quarnel Folders" Save "$HOME/Documents"
# Every line the program wrote ends in CR LF.
tail -c +"$((foreign_size + 1))" "$ini" | grep -qv $'\r$' && e2e_fail "a line without CR LF"

# The next start comes back where the window was left.
"$program" >>"$E2E_TMP/app.log" 2>&1 &
E2E_APP_PID=$!
E2E_WINDOW=$(e2e_wait_window "Quarnel 1.0")
e2e_focus "$E2E_WINDOW"
bounds=$(window_bounds)
[ "$bounds" = "150,120,500,400" ] || e2e_fail "bounds $bounds after the restart"
e2e_key alt+f
e2e_key x
e2e_wait_exit 10
echo "files e2e passed"
