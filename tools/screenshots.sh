#!/usr/bin/env bash
# Makes the README's pictures again from the real programs, so they follow every change: the
# window holding a processed list, the box that says a list cannot get keys, and a check run
# in a terminal. The window runs under Xvfb and a window manager, driven by keys, as the
# end-to-end tests drive it.
#
# Usage: bash tools/screenshots.sh [build folder]    (default build/dev)
# The programs are built there when missing. Needs Xvfb, openbox, xdotool and ImageMagick
# (installed when missing). Writes docs/images/*.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/quarnel-setup.sh" imagemagick
build=${1:-$top/build/dev}
images=$top/docs/images
window_program=$build/UFormMain/quarnel
cli=$build/tools/quarnel-cli
if [ ! -x "$window_program" ] || [ ! -x "$cli" ]; then
    cmake --build "$build" --target quarnel quarnel-cli
fi
mkdir -p "$images"

# A window manager draws the frame and the title the pictures show.
export E2E_WM=openbox
# shellcheck source=../tests/e2e/lib.sh
source "$top/tests/e2e/lib.sh"

# A PNG of a few colours is a few kilobytes and shows a screen exactly.
save_png() { convert - -strip -colors 64 "png8:$1"; }

# The window, its frame included.
capture() { import -silent -frame -window "$1" png:- | save_png "$2"; }

# Opens a list through File > Open, as a user does, and processes it with F9.
open_and_process() {
    e2e_focus "$E2E_WINDOW"
    e2e_key ctrl+o
    local dialog
    dialog=$(e2e_wait_window "^Open")
    e2e_focus "$dialog"
    e2e_type "$1"
    e2e_key Return
    e2e_focus "$E2E_WINDOW"
    e2e_key F9
}

# A visible window named $1 other than the main window; prints its id.
other_window() {
    local id
    for _ in $(seq 50); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "$E2E_WINDOW" |
            head -n 1 || true)
        [ -n "$id" ] && {
            echo "$id"
            return 0
        }
        sleep 0.1
    done
    e2e_fail "no window named '$1' beside the main window"
}

e2e_start "$window_program"
open_and_process "$top/examples/menu.lst"
sleep 0.5
capture "$E2E_WINDOW" "$images/window.png"

# Seven captions among which only six can get distinct keys.
printf 'Zoom In\r\nZoom\r\nMono\r\nMoon\r\nOn\r\nNom\r\nZoom Out\r\n' >"$E2E_TMP/view.lst"
open_and_process "$E2E_TMP/view.lst"
box=$(other_window "^Error$")
e2e_focus "$box"
sleep 0.5
capture "$box" "$images/error.png"
e2e_key Return

# A terminal: the prompt, the command as typed in the top folder, what it printed, its status.
cd "$top"
command=(quarnel-cli check examples/editor_de.rc)
status=0
output=$("$cli" "${command[@]:1}" 2>&1) || status=$?
terminal_text=$(printf '$ %s\n%s\n$ echo $?\n%s\n$ ' "${command[*]}" "$output" "$status")
# ImageMagick reads % and \ in a label as escapes.
terminal_text=${terminal_text//\\/\\\\}
terminal_text=${terminal_text//%/%%}
convert -background '#1d1f21' -fill '#d8dee9' -font DejaVu-Sans-Mono -pointsize 13 \
    label:"$terminal_text" -bordercolor '#1d1f21' -border 14 png:- | save_png "$images/check.png"

ls -l "$images"
