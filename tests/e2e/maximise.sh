#!/usr/bin/env bash
# Under a window manager, a double-click on the title bar maximises the window every time and a
# second one gives back its bounds, also for a window resting in the screen's corner, where edge
# snapping acts; closing while maximised leaves the bounds in the settings file as they were.
source "$(dirname "$0")/lib.sh"
command -v openbox >/dev/null || {
    echo "openbox is not installed: skipped"
    exit 77
}
ini=$windir/QuarnelApps.ini
printf '[Quarnel Window]\r\nLeft=0\r\nTop=0\r\nWidth=412\r\nHeight=317\r\n' >"$ini"
E2E_WM=openbox e2e_start "$1"
read -r screen_width screen_height < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')

# The outer frame's bounds and the frame's height above the inside, as "x,y,w,h top".
frame() {
    local extents left right top bottom x y w h
    extents=$(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
    [ -n "$extents" ] || return 1
    IFS=, read -r left right top bottom <<<"$extents"
    read -r x y w h < <(xwininfo -id "$E2E_WINDOW" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }')
    [ -n "$h" ] || return 1
    echo "$((x - left)),$((y - top)),$((w + left + right)),$((h + top + bottom)) $top"
}

maximised() { xprop -id "$E2E_WINDOW" _NET_WM_STATE 2>/dev/null | grep -q MAXIMIZED_HORZ; }

# Waits until the window is in the state $1 ("maximised" or "normal") at the bounds $2, then
# checks that it stays there: an undone maximise shows only a moment later.
expect_state() {
    local state=$1 bounds=$2 now
    for _ in $(seq 50); do
        now=$(frame || true)
        if [ "${now% *}" = "$bounds" ] && { [ "$state" = maximised ] && maximised ||
            { [ "$state" = normal ] && ! maximised; }; }; then
            sleep 0.2
            now=$(frame || true)
            [ "${now% *}" = "$bounds" ] || break
            [ "$state" = maximised ] && ! maximised && break
            [ "$state" = normal ] && maximised && break
            return 0
        fi
        sleep 0.05
    done
    e2e_fail "round $round: expected $state at $bounds, found ${now% *}$(maximised && echo ', maximised')"
}

double_click_title() {
    local now bounds top x y w
    now=$(frame) || e2e_fail "no frame"
    bounds=${now% *} top=${now#* }
    IFS=, read -r x y w _ <<<"$bounds"
    xdotool mousemove $((x + w / 2)) $((y + top / 2)) click --repeat 2 --delay 40 1
}

# Where the window rests once it is framed: each restore must bring it back there.
round=0
normal=$(frame || true)
for _ in $(seq 50); do
    sleep 0.2
    now=$(frame || true)
    [ -n "$now" ] && [ "$now" = "$normal" ] && break
    normal=$now
done
normal=${normal% *}
[ "$normal" = "0,0,412,317" ] || e2e_fail "the window rests at $normal, not where the settings put it"
full="0,0,$screen_width,$screen_height"
expect_state normal "$normal"
for round in $(seq 20); do
    double_click_title
    expect_state maximised "$full"
    double_click_title
    expect_state normal "$normal"
done
round=last
double_click_title
expect_state maximised "$full"

e2e_key alt+f
e2e_key x
e2e_wait_exit 10
for pair in Left=0 Top=0 Width=412 Height=317; do
    tr -d '\r' <"$ini" | grep -qx "$pair" || e2e_fail "settings lack $pair: $(tr '\r\n' '  ' <"$ini")"
done
echo "maximise e2e passed"
