#!/usr/bin/env bash
# Runs the built batch tool's --explain, --check and --keep modes on small files, as a build
# pipeline would: outputs, messages and exit statuses.
# Usage: cli_modes_end_to_end.sh QUARNEL_CLI
set -u
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0

check() { # description, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}

printf 'Abc\r\nOpen\r\nCab\r\nBca\r\nXyz\r\nab\r\n' >menu.lst
"$cli" --explain --format lst menu.lst >out 2>err
check "explain: failing list exits 1" 1 $?
check "explain: nothing on standard output in lst" "" "$(cat out)"
check "explain: the reason" "Unable to get best captions combination.
menu.lst: 4 captions share only 3 keys (A, B, C): line 1 'Abc', line 3 'Cab', line 4 'Bca', line 6 'ab'
menu.lst: at most 5 of 6 captions can get distinct keys" "$(cat err)"

printf 'File\r\n...\r\n' >dots.lst
"$cli" --explain dots.lst >out 2>err
check "explain: caption without keys exits 1" 1 $?
check "explain: caption without keys" "Unable to get best captions combination.
dots.lst:2: '...' has no character that can be a key
dots.lst: at most 1 of 2 captions can get distinct keys" "$(cat err)"

printf 'File\r\nEdit\r\n' | "$cli" --explain - >out 2>err
check "explain: success exits 0" 0 $?
check "explain: success prints the result" $'File\t&File\tF\nEdit\t&Edit\tE' "$(cat out)"
check "explain: success says nothing else" "" "$(cat err)"

printf '&Open\r\nSave && E&xit\r\n' >clean.lst
"$cli" --check clean.lst >out 2>err
check "check: clean list exits 0" 0 $?
check "check: clean list prints nothing" "" "$(cat out)$(cat err)"

printf '&Open\r\nClose\r\nExit&\r\n& x\r\n&a&b\r\n&open\r\n' >marked.lst
"$cli" --check marked.lst >out 2>err
check "check: findings exit 1" 1 $?
check "check: one FILE:LINE line per finding" "marked.lst:2: no accelerator marker
marked.lst:3: marker '&' at the end marks nothing
marked.lst:4: marker '&' before ' ', which cannot be a key
marked.lst:5: 2 markers '&' where a caption takes one
marked.lst:6: key 'O' is also used on line 1" "$(cat out)"

"$cli" --check --keep clean.lst >out 2>err
check "check with keep is a bad argument" 2 $?

printf 'Open\r\n&Print\r\nE&xit\r\nExtra\r\n' >pinned.lst
"$cli" --keep --format lst pinned.lst >out 2>err
check "keep: exits 0" 0 $?
check "keep: pins stay, the rest is assigned" $'&Open\r\n&Print\r\nE&xit\r\n&Extra\r' "$(cat out)"
check "keep: no message" "" "$(cat err)"

printf '&Open\r\n&over\r\nSave\r\n' >conflict.lst
"$cli" --keep conflict.lst >out 2>err
check "keep: conflict exits 1" 1 $?
check "keep: conflict reported" "conflict.lst:2: key 'O' is also used on line 1" "$(cat err)"

printf 'Ab\r\nBa\r\n&Apple\r\n' >blocked.lst
"$cli" --keep --explain blocked.lst >out 2>err
check "keep: blocked by a pin exits 1" 1 $?
check "keep: blocked by a pin explained" "Unable to get best captions combination.
blocked.lst: 3 captions share only 2 keys (A, B): line 1 'Ab', line 2 'Ba', line 3 '&Apple'
blocked.lst: at most 2 of 3 captions can get distinct keys" "$(cat err)"

"$cli" --keep missing.lst >out 2>err
check "keep: missing file exits 2" 2 $?

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
