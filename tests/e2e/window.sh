#!/usr/bin/env bash
# The real program starts with its title and initial bounds, and Exit in the File menu ends it.
# A list named on the command line is not opened.
source "$(dirname "$0")/lib.sh"
printf 'File\r\nEdit\r\n' >"$E2E_TMP/menu.lst"
e2e_start "$1" "$E2E_TMP/menu.lst"

title=$(e2e_title)
[ "$title" = "Quarnel 1.0 - [Untitled.lst]" ] || e2e_fail "title '$title'"
geometry=$(xdotool getwindowgeometry --shell "$E2E_WINDOW")
eval "$geometry"
[ "$X,$Y,$WIDTH,$HEIGHT" = "192,107,412,317" ] || e2e_fail "bounds $X,$Y,$WIDTH,$HEIGHT"

e2e_key alt+f
e2e_key x
e2e_wait_exit 10
echo "window e2e passed"
