#!/usr/bin/env bash
# Runs the built batch tool as a user would: files, standard input, exit statuses.
# Usage: cli_end_to_end.sh QUARNEL_CLI EXAMPLE_LIST
set -u
cli=$1
example=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() { # description, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}

"$cli" --format lst "$example" >"$work/out.lst" 2>"$work/err"
check "example list exits 0" 0 $?
check "example list prints no error" "" "$(cat "$work/err")"
check "one accelerated caption per example line" \
    "$(tr -cd '\n' <"$example" | wc -c)" "$(tr -cd '\n' <"$work/out.lst" | wc -c)"
check "every output line ends in CR LF" 0 "$(grep -c $'[^\r]$' "$work/out.lst")"

printf 'File\r\nEdit\r\nFormat\r\n' | "$cli" >"$work/out.tsv"
check "standard input exits 0" 0 $?
check "tsv from standard input" $'File\t&File\tF\nEdit\t&Edit\tE\nFormat\tF&ormat\tO' \
    "$(cat "$work/out.tsv")"

# The tool's own output, saved as a list and read back, gains a second marker on each line.
"$cli" --format lst - <"$work/out.lst" >/dev/null 2>&1
check "accelerated list read back exits 0" 0 $?

printf 'A\r\na\r\n' | "$cli" - >"$work/out.tsv" 2>"$work/err"
check "no combination exits 1" 1 $?
check "no combination message" "Unable to get best captions combination." "$(cat "$work/err")"
check "entries still printed" $'A\t\t\na\t\t' "$(cat "$work/out.tsv")"

"$cli" "$work/missing.lst" >"$work/out" 2>"$work/err"
check "missing file exits 2" 2 $?
check "missing file message" "Cannot open file \"$work/missing.lst\". No such file or directory" \
    "$(cat "$work/err")"
check "missing file prints nothing" "" "$(cat "$work/out")"

"$cli" --format xml "$example" >/dev/null 2>&1
check "bad format exits 2" 2 $?

"$cli" --help >"$work/help"
check "help exits 0" 0 $?
grep -q "^SYNOPSIS" "$work/help"
check "help shows usage" 0 $?

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
