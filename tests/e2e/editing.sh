#!/usr/bin/env bash
# A caption typed into the Add dialog is processed and its accelerated form copied to the
# clipboard with the keyboard alone; the program then ends without saving.
source "$(dirname "$0")/lib.sh"
e2e_start "$1"

e2e_key ctrl+Insert
dialog=$(e2e_wait_window "^Add$")
e2e_focus "$dialog"
e2e_type "  Open  "
e2e_key Return
e2e_focus "$E2E_WINDOW"
title=$(e2e_title)
[ "$title" = "Quarnel 1.0 - [Untitled.lst*]" ] || e2e_fail "title after adding '$title'"

e2e_key F9
e2e_key ctrl+a
e2e_key ctrl+c
copied=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$copied" = "&Open" ] || e2e_fail "clipboard '$copied'"

# Closing asks about the unsaved caption once the file commands are in; either way, no save.
e2e_key alt+f
e2e_key x
for _ in $(seq 30); do
    kill -0 "$E2E_APP_PID" 2>/dev/null || break
    prompt=$(xdotool search --onlyvisible --name "^Warning$" 2>/dev/null | head -n 1 || true)
    if [ -n "$prompt" ]; then
        e2e_focus "$prompt"
        e2e_key alt+n
        break
    fi
    sleep 0.1
done
e2e_wait_exit 10
echo "editing e2e passed"
