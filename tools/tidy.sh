#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the sources of the libraries and levara-cli with
# the compile commands of the default build (cmake --preset default writes them to
# build/compile_commands.json), two at a time. Exit status 1 when it warns.
#
#   bash tools/tidy.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: configure first" >&2; exit 2; }
run-clang-tidy -quiet -j 2 -p "$build" "^$root/(xls|records|leveling|books|commands|cli)/.*\.cpp$"
