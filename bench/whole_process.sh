#!/usr/bin/env bash
# The whole export as a user runs it, against the copy limit: a 5,000-station BFFB
# line (about 3.0 MB) saved as the BFFB book (levara-cli --filter leveling --save
# bffb) and as text (levara-cli --save text), each followed by a cp of its output,
# one process after another in turn for ROUNDS rounds. Prints the medians, the
# ratios to cp (aims: at most 10 for the book, at most 3 for the text) and the
# book export's peak memory against the input's size (aim: under 10 times). It only
# prints; a benchmark is not a test.
#
#   bash bench/whole_process.sh [ROUNDS]
#
# LEVARA_CLI picks another levara-cli (with its temp folder beside it), e.g. an older
# revision's; make_raw_line comes from BUILD_DIR (default build/).
set -euo pipefail

rounds=${1:-15}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cli=${LEVARA_CLI:-$build/levara-cli}
for program in "$build/make_raw_line" "$cli"; do
  [ -x "$program" ] || { echo "missing $program: build with cmake --build --preset default" >&2; exit 2; }
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/levara-whole-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
input=$scratch/line.dat
"$build/make_raw_line" --method BFFB --seed 1 5000 "$input"
input_bytes=$(stat -c %s "$input")

# Wall time of one command in microseconds, into $elapsed.
timed() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null
  local end=$EPOCHREALTIME
  elapsed=$(( ${end/./} - ${start/./} ))
}

book=() book_cp=() text=() text_cp=()
for ((round = 0; round < rounds; round++)); do
  timed "$cli" --filter leveling --save bffb --overwrite "$input" "$scratch/book.xls"; book+=("$elapsed")
  timed cp "$scratch/book.xls" "$scratch/book-copy.xls"; book_cp+=("$elapsed")
  timed "$cli" --save text --overwrite "$input" "$scratch/text.dat"; text+=("$elapsed")
  timed cp "$scratch/text.dat" "$scratch/text-copy.dat"; text_cp+=("$elapsed")
done

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
ms() { awk -v us="$1" 'BEGIN {printf "%.1f", us / 1000}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1f", a / b}'; }

peak_kb=$(/usr/bin/time -f %M "$cli" --filter leveling --save bffb --overwrite "$input" "$scratch/book.xls" 2>&1 >/dev/null | tail -1)

m_book=$(median "${book[@]}") m_book_cp=$(median "${book_cp[@]}")
m_text=$(median "${text[@]}") m_text_cp=$(median "${text_cp[@]}")
echo "input: 5,000-station BFFB line, $input_bytes bytes; book $(stat -c %s "$scratch/book.xls") bytes; medians of $rounds rounds"
printf '%-28s %9s %9s %7s %s\n' "" "levara" "cp" "ratio" "aim"
printf '%-28s %7s ms %6s ms %7s %s\n' "book (--save bffb)" "$(ms "$m_book")" "$(ms "$m_book_cp")" \
  "$(ratio "$m_book" "$m_book_cp")" "<= 10"
printf '%-28s %7s ms %6s ms %7s %s\n' "text (--save text)" "$(ms "$m_text")" "$(ms "$m_text_cp")" \
  "$(ratio "$m_text" "$m_text_cp")" "<= 3"
echo "book export peak memory: $((peak_kb / 1024)) MiB, $(ratio "$((peak_kb * 1024))" "$input_bytes") times the input (aim: under 10)"
