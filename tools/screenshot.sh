#!/usr/bin/env bash
# Takes the README's picture of the window: the built levara, a raw file open, on an
# Xvfb screen of 1366x768 in Chinese, with a fresh settings store so the window has
# its start size. Needs Debian's xvfb, x11-apps, x11-utils and netpbm.
#
#   bash tools/screenshot.sh [RAW_FILE [PNG]]
#
# RAW_FILE defaults to tests/data/bffb_line.dat, PNG to docs/window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
raw=${1:-tests/data/bffb_line.dat}
png=${2:-docs/window.png}
program=build/levara
[ -x "$program" ] || { echo "screenshot.sh: build $program first (cmake --workflow --preset app)" >&2; exit 1; }
[ -f "$raw" ] || { echo "screenshot.sh: no file $raw" >&2; exit 1; }

scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
pids+=($!)
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { cat "$scratch/xvfb.log" >&2; exit 1; }
DISPLAY=:$(cat "$scratch/display")
export DISPLAY

XDG_CONFIG_HOME=$scratch/config LANGUAGE='' LC_ALL='' LC_MESSAGES='' LANG=zh_CN.UTF-8 QT_QPA_PLATFORM=xcb \
    "$program" "$raw" 2>"$scratch/levara.log" &
pids+=($!)

title="Levara – $(basename "$raw")"
window=
for _ in $(seq 100); do
    window=$(xwininfo -name "$title" 2>/dev/null | awk '/Window id:/ {print $4}') && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "screenshot.sh: no window titled \"$title\"" >&2; cat "$scratch/levara.log" >&2; exit 1; }
sleep 1  # painted
mkdir -p "$(dirname "$png")"
xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$png"
echo "$png"
