#!/usr/bin/env bash
# Runs the built batch tool's check and fix commands on a tree of lists, as a translation
# pipeline would: fix, then check clean; a diff that patch applies; dry runs that write nothing.
# Usage: cli_commands_end_to_end.sh QUARNEL_CLI
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

mkdir -p po/ru po/ja
printf '&Файл\r\nПравка\r\nВид\r\n' >po/ru/menu.lst
printf 'ファイル(&F)\r\n編集\r\n表示...\r\n' >po/ja/menu.lst
cp -r po before

"$cli" check --keys unicode po >out 2>err
check "check: missing keys exit 1" 1 $?
check "check: every file, in name order" "po/ja/menu.lst:2: no accelerator marker
po/ja/menu.lst:3: no accelerator marker
po/ru/menu.lst:2: no accelerator marker
po/ru/menu.lst:3: no accelerator marker" "$(cat out)"

"$cli" fix --dry-run --keys unicode po >out 2>err
check "dry run: would change exits 1" 1 $?
check "dry run: writes nothing" "" "$(diff -r before po)"

"$cli" fix --diff --keys unicode po/ru/menu.lst >ru.diff 2>err
check "diff: exits 0" 0 $?
cp before/ru/menu.lst patched.lst
patch -s patched.lst <ru.diff
check "diff: applies with patch" $'&Файл\r\n&Правка\r\n&Вид\r' "$(cat patched.lst)"

"$cli" fix --keys unicode po >out 2>err
check "fix: exits 0" 0 $?
check "fix: names what it changed" "po/ja/menu.lst: 2 captions changed
po/ru/menu.lst: 2 captions changed" "$(cat out)"
check "fix: as the diff said" "" "$(cmp patched.lst po/ru/menu.lst)"
check "fix: suffix before the ellipsis" $'ファイル(&F)\r\n編集(&A)\r\n表示(&B)...\r' "$(cat po/ja/menu.lst)"

"$cli" check --keys unicode po >out 2>err
check "check after fix: clean" 0 $?
"$cli" fix --dry-run --keys unicode po >out 2>err
check "dry run after fix: nothing to do" 0 $?

printf '&Open\r\n&over\r\n' >conflict.lst
cp conflict.lst conflict.before
"$cli" fix conflict.lst >out 2>err
check "fix: conflict exits 1" 1 $?
check "fix: conflict leaves the file" "" "$(cmp conflict.before conflict.lst)"
"$cli" --check conflict.lst >out 2>err
check "--check is check" "conflict.lst:2: key 'O' is also used on line 1" "$(cat out)"

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
