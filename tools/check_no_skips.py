#!/usr/bin/env python3
"""Fails when a test run skipped a test or left one out.

ctest counts a skipped test (GTEST_SKIP, a skip code, a failed fixture setup, a
disabled test) as no failure. The test presets write each run's results as JUnit
(build*/junit.xml); every test listed there must have run.

    python3 tools/check_no_skips.py build/junit.xml [build-asan/junit.xml ...]
"""
import sys
import xml.etree.ElementTree as ElementTree


def not_run(path):
    cases = ElementTree.parse(path).getroot().iter("testcase")
    count, missed = 0, []
    for case in cases:
        count += 1
        if case.get("status") not in ("run", "fail") or case.find("skipped") is not None:
            missed.append("%s (%s)" % (case.get("name"), case.get("status")))
    if count == 0:
        missed.append("no test at all")
    return missed


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    failed = False
    for path in sys.argv[1:]:
        try:
            missed = not_run(path)
        except (OSError, ElementTree.ParseError) as error:
            missed = ["cannot read the results: %s" % error]
        for name in missed:
            print("%s: not run: %s" % (path, name))
        failed = failed or bool(missed)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
