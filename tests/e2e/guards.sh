#!/usr/bin/env bash
# Through the real window: Save As on a saved list starts beside that list, so Enter replaces
# it after the dialog's own question; Up marks the list modified; a failed Open after No keeps
# the edits guarded; closing then asks, and Yes saves the new order.
source "$(dirname "$0")/lib.sh"
program=$1

ini=$windir/QuarnelApps.ini
lists=$E2E_TMP/a
elsewhere=$E2E_TMP/c
mkdir -p "$lists" "$elsewhere"
printf 'File\r\nEdit\r\n' >"$lists/menu.lst"
mkfifo "$E2E_TMP/pipe.lst"
# An earlier save went into another folder.
printf '[Quarnel Folders]\r\nSave=%s\r\n' "$elsewhere" >"$ini"

expect_title() {
    local title
    title=$(e2e_title)
    [ "$title" = "$1" ] || e2e_fail "$2: title '$title'"
}

# Waits for a visible window named $1 other than $2; prints its id, or nothing.
other_window() {
    local id
    for _ in $(seq 30); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${2:-none}" | head -n 1 || true)
        [ -n "$id" ] && {
            echo "$id"
            return 0
        }
        sleep 0.1
    done
}

e2e_start "$program"
e2e_key ctrl+o
dialog=$(e2e_wait_window "^Open")
e2e_focus "$dialog"
e2e_type "$lists/menu.lst"
e2e_key Return
e2e_focus "$E2E_WINDOW"
expect_title "Quarnel 1.0 - [menu.lst]" "after opening"

e2e_key ctrl+Insert
add=$(e2e_wait_window "^Add$")
e2e_focus "$add"
e2e_type "View"
e2e_key Return
e2e_focus "$E2E_WINDOW"
expect_title "Quarnel 1.0 - [menu.lst*]" "after adding"

# Save As proposes the list's own name beside it; Enter asks before replacing it.
e2e_key alt+f
e2e_key a
dialog=$(e2e_wait_window "^Save As$")
e2e_focus "$dialog"
e2e_key Return
question=$(other_window "^Save As$" "$dialog")
[ -n "$question" ] || e2e_fail "no question before replacing; $(ls "$elsewhere")"
e2e_focus "$question"
e2e_key alt+y
e2e_focus "$E2E_WINDOW"
[ ! -e "$elsewhere/menu.lst" ] || e2e_fail "Save As wrote into the last save folder"
[ "$(tr -d '\r' <"$lists/menu.lst" | paste -sd,)" = "File,Edit,View" ] ||
    e2e_fail "the list was not replaced: $(od -c "$lists/menu.lst" | head -n 3)"
expect_title "Quarnel 1.0 - [menu.lst]" "after Save As"

# The last entry moves up: the order is a change.
e2e_key End
e2e_key ctrl+u
expect_title "Quarnel 1.0 - [menu.lst*]" "after Up"

# A file that cannot be read, after No: the error, and the edits stay guarded.
e2e_key ctrl+o
dialog=$(e2e_wait_window "^Open")
e2e_focus "$dialog"
e2e_type "$E2E_TMP/pipe.lst"
e2e_key Return
prompt=$(e2e_wait_window "^Warning$")
e2e_focus "$prompt"
e2e_key alt+n
error=$(e2e_wait_window "^Error$")
e2e_focus "$error"
e2e_key Return
e2e_focus "$E2E_WINDOW"
expect_title "Quarnel 1.0 - [menu.lst*]" "after the failed Open"

e2e_key alt+f
e2e_key x
prompt=$(other_window "^Warning$")
[ -n "$prompt" ] || e2e_fail "closing asked nothing"
e2e_focus "$prompt"
e2e_key alt+y
e2e_wait_exit 10
[ "$(tr -d '\r' <"$lists/menu.lst" | paste -sd,)" = "File,View,Edit" ] ||
    e2e_fail "the new order was not saved: $(od -c "$lists/menu.lst" | head -n 3)"
echo "guards e2e passed"
