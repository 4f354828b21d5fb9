#!/usr/bin/env bash
# The bash completion of quarnel-cli offers the commands, each command's own options, the
# values of an option and the files each mode reads, as bash-completion would call it.
# Usage: completion.sh <completion file> <quarnel-cli>
set -uo pipefail
completion=$1 cli=$(realpath "$2")
framework=/usr/share/bash-completion/bash_completion
if [ ! -r "$framework" ]; then
    echo "bash-completion is not installed: skipped"
    exit 77
fi
# shellcheck source=/dev/null
source "$framework"
# shellcheck source=/dev/null
source "$completion"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch menu.lst editor.rc notepad.ui notepad_de.ts de.po notes.txt menu.lst.orig
mkdir po

failures=0
# expect "<expected words, sorted>" <word>... : completes the last word of the command line.
expect() {
    local expected=$1
    shift
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quarnel_cli "$cli" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local actual
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [ "$actual" != "$expected" ]; then
        echo "FAIL: quarnel-cli $* <TAB> gave '$actual', expected '$expected'" >&2
        failures=$((failures + 1))
    fi
}

# The commands, beside the one caption list the plain mode reads.
expect "check fix menu.lst po" ""
expect "check" ch
# Each mode's options, and only its own.
expect "--explain --format --help --keep --keys --marker --prefer --prefer-file" --
expect "--add-missing --builder --diff --dry-run --forms --keys --marker --prefer --prefer-file" fix --
expect "--builder --explain --format --forms --keys --marker --prefer-file --quality --strict" check --
# An option's values, written apart or after "=".
expect "ascii unicode" --keys ""
expect "unicode" check --keys=u
expect "lst tsv" --format ""
expect "json sarif text" check --format ""
expect "po" check --forms ""
# The files the commands read, by their extension, and folders.
expect "de.po editor.rc menu.lst notepad.ui notepad_de.ts po" check ""
expect "editor.rc" fix --diff e
expect "menu.lst" --keep m

((failures == 0)) || exit 1
echo "completion passed"
