#!/usr/bin/env python3
"""The pre-commit hook file loads as pre-commit reads it, selects the files the checker reads
and no others, and its entry is the real command: it fails on a finding and passes a sound list.

Usage: pre_commit_hooks.py <.pre-commit-hooks.yaml> <quarnel-cli> <examples folder>
"""

import os
import re
import shlex
import subprocess
import sys
import tempfile

import yaml

hooks_file, cli, examples = sys.argv[1:4]
failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


with open(hooks_file, encoding="utf-8") as f:
    hooks = yaml.safe_load(f)
expect(isinstance(hooks, list) and len(hooks) == 1, "the file holds one hook")
hook = hooks[0]
for key in ("id", "name", "entry", "language", "files"):
    expect(isinstance(hook.get(key), str) and hook[key], f"the hook has no '{key}'")
expect(hook["id"] == "quarnel-check", f"id is {hook['id']!r}")
expect(hook["language"] == "system", "the hook runs the installed program")

# pre-commit matches the regex with re.search against each path relative to the top.
selects = re.compile(hook["files"])
for path in ("menu.lst", "res/editor_de.rc", "RES/EDITOR.RC", "ui/notepad.ui", "i18n/app_de.ts",
             "po/de.po"):
    expect(selects.search(path), f"{path} is not checked")
for path in ("README.md", "menu.lst.orig", "notes.txt", "rc/script.sh", "potfiles", "app.pot"):
    expect(not selects.search(path), f"{path} is checked")

command, *arguments = shlex.split(hook["entry"])
expect(command == os.path.basename(cli), f"the entry runs {command!r}, not {os.path.basename(cli)}")

def run(*files):
    return subprocess.run([cli, *arguments, *files], capture_output=True).returncode


with tempfile.TemporaryDirectory() as folder:
    sound = os.path.join(folder, "sound.lst")
    with open(sound, "wb") as f:
        f.write(b"&Open\r\n&Save\r\nE&xit\r\n")
    expect(run(sound) == 0, "the entry fails a list without findings")
    expect(run(sound, os.path.join(examples, "editor_de.rc")) == 1,
           "the entry passes a script with keys used twice")

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
