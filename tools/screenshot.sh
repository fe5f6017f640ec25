#!/usr/bin/env bash
# Takes the README's pictures of the window: the built levara on an Xvfb screen of
# 1366x768 in Chinese, with a fresh settings store so the window has its start size.
# Needs Debian's xvfb, x11-apps, x11-utils, netpbm and xdotool (which types the keys).
#
#   bash tools/screenshot.sh [RAW_FILE [FOLDER]]
#
# RAW_FILE defaults to tests/data/bffb_line.dat, FOLDER to docs. It writes there
#   window.png  the raw file open;
#   check.png   检核 › 二等, then 检核当前文本 (F5): the panel beside the text;
#   undo.png    整理 › 单点测量, which keeps nothing of a leveling file, with the text
#               area's menu open on 撤消 to bring the text back.
set -euo pipefail
cd "$(dirname "$0")/.."
raw=${1:-tests/data/bffb_line.dat}
folder=${2:-docs}
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
mkdir -p "$folder"

# Starts levara on the raw file with a settings store of its own; sets window.
start() {
    local config=$scratch/config-$1
    XDG_CONFIG_HOME=$config LANGUAGE='' LC_ALL='' LC_MESSAGES='' LANG=zh_CN.UTF-8 QT_QPA_PLATFORM=xcb \
        "$program" "$raw" 2>"$scratch/levara-$1.log" &
    levara=$!
    pids+=($levara)
    local title="Levara – $(basename "$raw")"
    window=
    for _ in $(seq 100); do
        window=$(xwininfo -name "$title" 2>/dev/null | awk '/Window id:/ {print $4}') && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "screenshot.sh: no window titled \"$title\"" >&2; cat "$scratch/levara-$1.log" >&2; exit 1; }
    sleep 1  # painted
    xdotool windowfocus --sync "$window"
}

# The keys typed, a pause after each for the window to follow.
keys() {
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.4
    done
}

# The window's upper-left corner on the screen.
corner() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'
}

# The window, and a menu that pops up over it pasted where it shows (the root
# window's picture leaves a popup black).
shot() {
    xwd -silent -id "$window" | xwdtopnm 2>/dev/null >"$scratch/shot.pnm"
    local popup
    popup=$(xwininfo -root -tree | awk -v main="$window" '$2 == "\"levara\":" && $3 == "(\"levara\"" && $1 != main {print $1}')
    if [ -n "$popup" ]; then
        read -r x y < <(corner "$window")
        read -r px py < <(corner "$popup")
        xwd -silent -id "$popup" | xwdtopnm 2>/dev/null >"$scratch/popup.pnm"
        pnmpaste "$scratch/popup.pnm" $((px - x)) $((py - y)) "$scratch/shot.pnm" >"$scratch/pasted.pnm"
        mv "$scratch/pasted.pnm" "$scratch/shot.pnm"
    fi
    pnmtopng <"$scratch/shot.pnm" >"$folder/$1"
    echo "$folder/$1"
}

start window
shot window.png

# 检核(&J) opens on 不检核; two down is 二等.
keys alt+j Down Down Return F5
sleep 1
shot check.png

kill "$levara"
wait "$levara" 2>/dev/null || true
start undo
# 整理(&Z) opens on 水准线路; two down is 单点测量.
keys alt+z Down Down Return
xdotool mousemove --window "$window" 400 300 click 3
sleep 2  # the menu painted
shot undo.png
