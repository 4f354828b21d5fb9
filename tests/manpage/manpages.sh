#!/usr/bin/env bash
# The manual pages render without a warning, as man shows them, and say every word of the
# reference pages they are made from: the tool's --help and the window's page text.
# Usage: manpages.sh <folder of the pages> <quarnel-cli> <quarnel-manpage> <window page text>
set -euo pipefail
pages=$1 cli=$2 converter=$3 window_text=$4
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# groff's own warnings, all of them, on the devices man uses in a UTF-8 and an ASCII locale
# and on groff's default, PostScript.
check_warnings() {
    local page=$1 warnings device
    for device in utf8 ascii ps; do
        warnings=$(groff -ww -z -man -T"$device" "$page" 2>&1)
        [ -z "$warnings" ] || fail "groff -T$device warns about $(basename "$page"): $warnings"
    done
    if command -v man >/dev/null; then
        warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man warns about $(basename "$page"): $warnings"
    fi
    if command -v lexgrog >/dev/null; then
        lexgrog "$page" >/dev/null || fail "the NAME section of $(basename "$page") cannot be read"
    fi
}

# The words of a text's indented lines (headings, the page's header and footer left out), on
# one line, whatever the line breaks and the runs of blanks.
words() { grep '^ ' "$1" | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }

# Lines so long that nothing is broken or hyphenated; no overstriking for bold.
check_words() {
    local page=$1 text=$2
    groff -man -Tutf8 -rLL=5000n -P-cbou "$page" >"$work/rendered" 2>/dev/null
    sed -i 's/−/-/g; s/‐/-/g' "$work/rendered"
    local expected rendered
    expected=$(words "$text")
    rendered=$(words "$work/rendered")
    [[ "$rendered" == *"$expected"* ]] ||
        fail "$(basename "$page") does not say what $(basename "$text") says:
$(diff <(tr ' ' '\n' <<<"$expected") <(tr ' ' '\n' <<<"$rendered") | head -n 20)"
}

for page in "$pages/quarnel-cli.1" "$pages/quarnel.1"; do
    [ -s "$page" ] || fail "$page missing"
    check_warnings "$page"
done
"$cli" --help >"$work/help.txt"
check_words "$pages/quarnel-cli.1" "$work/help.txt"
check_words "$pages/quarnel.1" "$window_text"

# Lines that would be requests or escapes to roff, a term with its text beside it, text
# beyond ASCII, and a description with lines of its own.
cat >"$work/tricky.txt" <<'TEXT'
NAME
    tricky - a page of lines roff would misread

DESCRIPTION
    A line that ends in a sentence
    .and one that begins like a request,
    'or like its other form, \fB not bold, and a\ backslash.

    Ünïcödé…

OPTIONS
    -x, --extra VALUE
        ascii (default): one thing.
        other: another thing.

EXIT STATUS
    3   A status
        described beside it.

EXAMPLES
    tricky -x 1
        .indented
TEXT
"$converter" 1 "Tricky 1.0" "User Commands" "$work/tricky.txt" >"$work/tricky.1"
check_warnings "$work/tricky.1"
check_words "$work/tricky.1" "$work/tricky.txt"
grep -q '^\.br$' "$work/tricky.1" || fail "a description's labelled line runs on"
echo "manual pages passed"
