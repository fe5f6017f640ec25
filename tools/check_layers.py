#!/usr/bin/env python3
"""Checks every #include "..." of the tree against Levara's layers.

Bottom to top: xls < records < leveling < books < commands < language < window, cli. A
file may include the files of its own layer and the door header of a layer below it;
window and cli are peers and never include each other. Inside books the export frame
(books/pipeline) sits above the books and tables (books/fieldbook, books/tables), which
sit above the helpers in books/ itself. tests, bench, templates, tools and packaging
stand on top and include doors, except that the tests of a layer may include its
internals. leveling knows no worksheet: none of its files reaches xls, not even
through the headers it includes.

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
ON_TOP = {"tests", "bench", "templates", "tools", "packaging"}

# Layers that may not reach another one at all, directly or through any header.
NEVER_REACHES = {"leveling": "xls"}

# Inside a layer: sub-folders and their rank.
INNER = {
    "books": {"books": 0, "books/fieldbook": 1, "books/tables": 1, "books/pipeline": 2},
}

# The layer whose internals each test folder may include.
TESTED = {
    "tests/xls": "xls",
    "tests/fuzz": "xls",
    "tests/records": "records",
    "tests/leveling": "leveling",
    "tests/fieldbook": "books",
    "tests/tables": "books",
    "tests/pipeline": "books",
    "tests/window": "window",
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


def reached_through(includes, path, banned):
    """The chain of includes by which path reaches a file of the folder banned, or None."""
    seen = {path}
    paths = [[path]]
    while paths:
        chain = paths.pop()
        for target in includes.get(chain[-1], ()):
            if top(target) == banned:
                return chain + [target]
            if target not in seen:
                seen.add(target)
                paths.append(chain + [target])
    return None


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    violations = 0
    includes = {}
    for path in sources(root):
        with open(os.path.join(root, path), encoding="utf-8") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = resolve(root, path, match.group(1))
                if target is not None:
                    includes.setdefault(path, []).append(target)
                why = "no such file" if target is None else problem(root, path, target)
                if why:
                    print('%s:%d: #include "%s": %s' % (path, number, match.group(1), why))
                    violations += 1
    for path in includes:
        banned = NEVER_REACHES.get(top(path))
        chain = banned and reached_through(includes, path, banned)
        if chain:
            print("%s: reaches %s/ through %s" % (path, banned, " -> ".join(chain[1:])))
            violations += 1
    if violations:
        print("%d include(s) break the layers" % violations)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
