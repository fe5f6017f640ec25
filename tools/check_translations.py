#!/usr/bin/env python3
"""Checks that every message of Levara has a finished translation.

    python3 tools/check_translations.py LUPDATE TS_FILE FOLDER...

Runs lupdate over the folders into a scratch copy of TS_FILE, the way the
update_translations target does, and reports each message that is new or changed
(unfinished), no longer in the sources (vanished or obsolete), or translated with
other placeholders (%1 ... %9) than its source. Exits 1 when there is one: build
update_translations and translate what it marks.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

PLACEHOLDER = re.compile(r"%[1-9]")


def problems(ts_file):
    for context in ElementTree.parse(ts_file).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            kind = translation.get("type") if translation is not None else "missing"
            text = translation.text if translation is not None and translation.text else ""
            if kind:
                yield f"{name}: {kind}: {source!r}"
            elif not text:
                yield f"{name}: empty: {source!r}"
            elif sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(text)):
                yield f"{name}: other placeholders: {source!r} -> {text!r}"


def main():
    if len(sys.argv) < 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    lupdate, ts_file, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, os.path.basename(ts_file))
        shutil.copyfile(ts_file, copy)
        run = subprocess.run([lupdate, "-locations", "none", *folders, "-ts", copy], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr, file=sys.stderr)
            return 1
        found = list(problems(copy))
    for problem in found:
        print(f"{ts_file}: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
