#!/usr/bin/env bash
# An install puts the program, its desktop entry and its icon where desktops look for them,
# and the entry names a program and an icon that are really there; the manual pages and the
# shell completion go where man and bash look.
# Usage: install_layout.sh <build folder> [cmake]
set -euo pipefail
build=$1
cmake=${2:-cmake}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/quarnel" ] || fail "bin/quarnel missing or not executable"

desktop=$prefix/share/applications/quarnel.desktop
[ -f "$desktop" ] || fail "share/applications/quarnel.desktop missing"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop entry does not validate"
fi
value() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[ "$(value Type)" = Application ] || fail "Type is '$(value Type)'"
exec_line=$(value Exec)
program=${exec_line%% *}
[ -x "$prefix/bin/$program" ] || fail "Exec names '$program', which is not in bin/"
icon=$(value Icon)
[ -n "$icon" ] || fail "no Icon in the desktop entry"

# The icon exists at the sizes desktops ask for, each file really of its size.
for size in 16 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
    [ -f "$png" ] || fail "icon missing: ${png#"$prefix"/}"
    [ "$(od -An -c -j1 -N3 "$png" | tr -d ' ')" = PNG ] || fail "${png#"$prefix"/} is no PNG"
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$width,$height" = "$size,$size" ] || fail "${png#"$prefix"/} is ${width}x$height"
done
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "scalable icon missing"

# The manual pages, compressed as man reads them, and the completion where bash-completion
# looks for a command's completion: under its own name.
for page in quarnel quarnel-cli; do
    gzip -t "$prefix/share/man/man1/$page.1.gz" 2>/dev/null || fail "manual page $page(1) missing"
done
[ -f "$prefix/share/bash-completion/completions/quarnel-cli" ] || fail "bash completion missing"
echo "install layout passed"
