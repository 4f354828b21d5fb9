#!/usr/bin/env bash
# Under a window manager the initial bounds are those of the outer frame, and they are what
# the settings file gets at close.
source "$(dirname "$0")/lib.sh"
command -v openbox >/dev/null || {
    echo "openbox is not installed: skipped"
    exit 77
}
E2E_WM=openbox e2e_start "$1"

# The outer frame: the inside's place and size widened by the frame the manager announces.
outer_bounds() {
    local extents info x y w h
    extents=$(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
    [ -n "$extents" ] || return 1
    IFS=, read -r left right top bottom <<<"$extents"
    info=$(xwininfo -id "$E2E_WINDOW" 2>/dev/null) || return 1
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/^ *Width: *//p' <<<"$info")
    h=$(sed -n 's/^ *Height: *//p' <<<"$info")
    echo "$((x - left)),$((y - top)),$((w + left + right)),$((h + top + bottom)),$left$right$top$bottom"
}

bounds=
for _ in $(seq 50); do
    bounds=$(outer_bounds || true)
    [ "${bounds%,*}" = "192,107,412,317" ] && break
    sleep 0.1
done
[ "${bounds%,*}" = "192,107,412,317" ] || e2e_fail "outer bounds ${bounds%,*}"
[ "${bounds##*,}" != "0000" ] || e2e_fail "the window manager drew no frame"
title=$(e2e_title)
[ "$title" = "Quarnel 1.0 - [Untitled.lst]" ] || e2e_fail "title '$title'"

e2e_key alt+f
e2e_key x
e2e_wait_exit 10
ini=$windir/QuarnelApps.ini
[ -f "$ini" ] || e2e_fail "no settings written"
for pair in Left=192 Top=107 Width=412 Height=317; do
    tr -d '\r' <"$ini" | grep -qx "$pair" || e2e_fail "settings lack $pair: $(tr '\n' ' ' <"$ini")"
done
echo "window frame e2e passed"
