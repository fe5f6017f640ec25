#!/usr/bin/env python3
"""Checks every #include "..." of the tree against Levara's layers.

Bottom to top: xls < records < leveling < books < commands < language < window, cli. A file may include
the files of its own layer and the door header of a layer below it; window and cli
are peers and never include each other. Inside books the export frame
(books/pipeline) sits above the adjustment (books/adjustment), which sits above the
checks (books/checks), which sit above the books
(books/fieldbook, books/tables), which sit above the helpers in books/ itself. tests, bench, temp, tools and packaging stand on
top and include doors, except that the tests of a layer may include its internals.

    python3 tools/check_layers.py [ROOT]

Prints each violation as file:line and exits 1 when there is one.
"""
import os
import re
import sys

# Folder, rank and door. Equal ranks are peers.
LAYERS = {
    "xls": (0, "xls/xls.h"),
    "records": (1, "records/records.h"),
    "leveling": (2, "leveling/leveling.h"),
    "books": (3, "books/books.h"),
    "commands": (4, "commands/commands.h"),
    "language": (5, "language/language.h"),
    "window": (6, "window/window.h"),
    "cli": (6, None),
}
ON_TOP = {"tests", "bench", "temp", "tools", "packaging"}

# Inside a layer: sub-folders and their rank.
INNER = {
    "books": {"books": 0, "books/fieldbook": 1, "books/tables": 1, "books/checks": 2, "books/adjustment": 3, "books/pipeline": 4},
}

# The layer whose internals each test folder may include.
TESTED = {
    "tests/xls": "xls",
    "tests/fuzz": "xls",
    "tests/records": "records",
    "tests/fieldbook": "books",
    "tests/checks": "books",
    "tests/tables": "books",
    "tests/pipeline": "books",
    "tests/adjustment": "books",
    "tests/window": "window",
    "tests/leveling": "leveling",
}

SOURCE = re.compile(r".*\.(h|hpp|cpp|cc)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def sources(root):
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if not d.startswith(".") and not d.startswith("build"))
        for name in sorted(files):
            if SOURCE.match(name):
                yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def top(path):
    return path.split("/", 1)[0]


def inner_folder(path):
    """The sub-folder of a layer a file lies in, as INNER names it."""
    folders = INNER.get(top(path), {})
    best = top(path)
    for folder in folders:
        if path.startswith(folder + "/") and "/" not in path[len(folder) + 1 :] and len(folder) > len(best):
            best = folder
    return best


def tested_layer(path):
    for folder, layer in TESTED.items():
        if path.startswith(folder + "/"):
            return layer
    return None


def resolve(root, including, name):
    beside = os.path.normpath(os.path.join(os.path.dirname(including), name)).replace(os.sep, "/")
    if os.path.isfile(os.path.join(root, beside)):
        return beside
    if os.path.isfile(os.path.join(root, name)):
        return os.path.normpath(name).replace(os.sep, "/")
    return None


def problem(root, path, target):
    """Why path may not include target, or None."""
    source, wanted = top(path), top(target)
    if source == wanted:
        folders = INNER.get(source)
        if not folders or target == LAYERS[source][1] or path == LAYERS[source][1]:
            return None
        mine, theirs = inner_folder(path), inner_folder(target)
        if mine == theirs:
            return None
        if folders[theirs] >= folders[mine]:
            return "%s/ may not include %s/: it is not below" % (mine, theirs)
        return None
    if wanted not in LAYERS:
        return "%s/ is not a layer and may not be included from %s/" % (wanted, source)
    rank, door = LAYERS[wanted]
    if source in LAYERS:
        if LAYERS[source][0] <= rank:
            return "%s/ may not include %s/: it is not below" % (source, wanted)
    elif source not in ON_TOP:
        return "%s/ is no known folder" % source
    elif tested_layer(path) == wanted:
        return None
    if target != door:
        return "%s/ is entered through %s only" % (wanted, door or "nothing (it offers no header)")
    return None


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    violations = 0
    for path in sources(root):
        with open(os.path.join(root, path), encoding="utf-8") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = resolve(root, path, match.group(1))
                why = "no such file" if target is None else problem(root, path, target)
                if why:
                    print('%s:%d: #include "%s": %s' % (path, number, match.group(1), why))
                    violations += 1
    if violations:
        print("%d include(s) break the layers" % violations)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
