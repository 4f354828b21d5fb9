#!/usr/bin/env python3
"""Every key fault that msgfmt --check-accelerators and pofilter -t accelerators report in our
test catalogues, quarnel-cli check reports too; and the duplicates within one translated menu
that only quarnel-cli reports are counted.

Usage: gettext_peers.py QUARNEL_CLI DATA_DIR
Exits 77 (skipped) when neither peer is installed. Fuzzy and obsolete entries are passed over
by quarnel-cli, as by msgfmt, so pofilter runs with --nofuzzy and its obsolete units are left
out; so are its findings of a marker before a letter outside ASCII, which is a key to GTK."""

import os
import re
import shutil
import subprocess
import sys
import tempfile

CATALOGUES = ["de.po", "ru.po", "ja.po", "checks_ru.po", "de.latin1.po", "ru.koi8-r.po"]
BUILDERS = ["editor.ui", "prefs.ui"]
# pofilter takes only ASCII letters and digits as keys; GTK, and the Unicode rule, take a
# marked letter of any script.
NON_ASCII_KEY = re.compile(
    r"Accelerator '_' appears before an invalid accelerator character '[^\x00-\x7f]+'")


def literal(line):
    """The decoded text of the string literals on a line of a catalogue."""
    text = ""
    for part in re.findall(r'"((?:[^"\\]|\\.)*)"', line):
        text += re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)),
                       part)
    return text


def entries(path):
    """(first line, last line, context, msgid, obsolete, note) for each entry of a catalogue;
    the note is what pofilter wrote about it, if anything."""
    with open(path, "rb") as file:
        lines = file.read().decode("latin-1").split("\n")
    found = []
    block = []
    for number, line in enumerate(lines + [""], 1):
        if line.strip():
            block.append((number, line))
            continue
        if not block:
            continue
        context, msgid, keyword = None, None, None
        obsolete, note = False, ""
        for _, text in block:
            live = text[3:] if text.startswith("#~ ") else text
            obsolete = obsolete or text.startswith("#~")
            if text.startswith("# (pofilter) accelerators: "):
                note = text[len("# (pofilter) accelerators: "):]
            if live.startswith("msgctxt"):
                keyword, context = "ctx", literal(live)
            elif live.startswith("msgid "):
                keyword, msgid = "id", literal(live)
            elif live.startswith("msg"):
                keyword = None
            elif live.startswith('"') and keyword == "id":
                msgid += literal(live)
            elif live.startswith('"') and keyword == "ctx":
                context += literal(live)
        if msgid:
            found.append((block[0][0], block[-1][0], context, msgid, obsolete, note))
        block = []
    return found


def entry_at(catalogue, line):
    for entry in catalogue:
        if entry[0] <= line <= entry[1]:
            return entry
    return None


def run(command, cwd):
    return subprocess.run(command, cwd=cwd, capture_output=True, text=True, errors="replace")


def main():
    cli, data = sys.argv[1], sys.argv[2]
    msgfmt, pofilter = shutil.which("msgfmt"), shutil.which("pofilter")
    if not msgfmt and not pofilter:
        print("neither msgfmt nor pofilter is installed")
        return 77
    work = tempfile.mkdtemp()
    os.mkdir(os.path.join(work, "data"))
    for name in BUILDERS:
        shutil.copy(os.path.join(data, "gtk", name), os.path.join(work, "data", name))
    for name in CATALOGUES:
        shutil.copy(os.path.join(data, "gtk", name), os.path.join(work, name))

    ours = run([cli, "check", "--builder", "data"] + CATALOGUES, work)
    missed = []
    counts = {"msgfmt": 0, "pofilter": 0, "quarnel": 0, "only quarnel (within a menu)": 0}
    for name in CATALOGUES:
        catalogue = entries(os.path.join(work, name))
        reported = set()
        duplicates = set()
        for line in ours.stdout.splitlines():
            match = re.match(re.escape(name) + r":(\d+):\d+: (\w+): (.*)", line)
            if match:
                entry = entry_at(catalogue, int(match.group(1)))
                reported.add(entry)
                if re.search(r"key '.*' is (used on lines|taken by)", match.group(3)):
                    duplicates.add(entry)
        counts["quarnel"] += len(reported)
        by_peers = set()
        if msgfmt:
            checked = run([msgfmt, "--check-accelerators=_", "-o", os.devnull, name], work)
            for line in checked.stderr.splitlines():
                match = re.match(re.escape(name) + r":(\d+): ", line)
                if match:
                    entry = entry_at(catalogue, int(match.group(1)))
                    counts["msgfmt"] += 1
                    by_peers.add(entry)
                    if entry not in reported:
                        missed.append(f"msgfmt: {line}")
        if pofilter:
            filtered = os.path.join(work, name + ".pofilter")
            run([pofilter, "--gnome", "--nofuzzy", "-t", "accelerators", name, filtered], work)
            # pofilter writes nothing when nothing fails.
            failed = entries(filtered) if os.path.exists(filtered) else []
            for _, _, context, msgid, obsolete, note in failed:
                if obsolete or NON_ASCII_KEY.fullmatch(note):
                    continue
                entry = next((e for e in catalogue if e[2] == context and e[3] == msgid), None)
                counts["pofilter"] += 1
                by_peers.add(entry)
                if entry not in reported:
                    missed.append(f"pofilter: {name}: msgid {msgid!r}")
        counts["only quarnel (within a menu)"] += len(duplicates - by_peers)
    shutil.rmtree(work)
    for tool, count in counts.items():
        print(f"{tool}: {count} entries")
    for line in missed:
        print(f"not reported by quarnel-cli: {line}")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
