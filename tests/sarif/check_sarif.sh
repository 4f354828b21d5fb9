#!/usr/bin/env bash
# check --format sarif on the test files of every format, validated against the published
# SARIF 2.1.0 schema; and the validator shown to reject a log that breaks it.
# Usage: check_sarif.sh QUARNEL_CLI TEST_DATA_FOLDER
set -u
cli=$1
data=$2
here=$(dirname "$0")
schema=$here/sarif-schema-2.1.0.json
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

# Findings of every kind: duplicates, missing keys, reader notes, --explain notes, a caption
# list with bytes that are not UTF-8 and a file name that needs percent-encoding.
printf '&Open\r\n&Other\r\nSave&\r\nN\xe9w\r\n' >"$work/menu list.lst"
printf '&Open\r\n&Close\r\n' >"$work/clean.lst"
"$cli" check --format sarif --explain "$data" "$work/menu list.lst" >"$work/all.sarif"
[ $? -eq 1 ] || fail "findings exit 1"
"$cli" check --format sarif --forms "$data" "$data"/editor_de.ts >"$work/forms.sarif"
"$cli" check --format sarif "$work/clean.lst" >"$work/clean.sarif" || fail "a clean file exits 0"
grep -q '"ruleId": "duplicate-key"' "$work/all.sarif" || fail "duplicates are results"
grep -q '"ruleId": "label-without-buddy"' "$work/all.sarif" || fail "reader notes are results"
python3 "$here/validate_sarif.py" "$schema" "$work/all.sarif" "$work/forms.sarif" \
    "$work/clean.sarif" || fail "the logs are valid SARIF 2.1.0"

# A level SARIF does not know must be caught, or the validation above proves nothing.
sed 's/"level": "error"/"level": "fatal"/' "$work/all.sarif" >"$work/broken.sarif"
python3 "$here/validate_sarif.py" "$schema" "$work/broken.sarif" >/dev/null &&
    fail "the validator rejects an unknown level"

[ "$failures" -eq 0 ] && echo "all SARIF checks passed"
exit $((failures > 0))
