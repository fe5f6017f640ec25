#!/usr/bin/env bash
# Saves every raw file of tests/data (the GSI files of tests/data/gsi and
# tests/data/real too), and two long lines from bench/make_raw_line (a
# 5,000-station BFFB line, a 3,000-station aBFFB line with Chinese point names), as
# every output kind, with and without the filter that kind needs, through the
# levara-cli of git revision REV and through the one built from this checkout, and
# compares the files byte for byte: the output and the work files each run leaves
# (ooo.txt, ppp.txt, excel.xls). Two runs that both fail with the same status count as
# equal; where their messages differ, both are shown. Exit status 1 when any pair differs.
#
#   bash tools/compare_outputs.sh REV
#
# REV is built in a scratch worktree (levara-cli and the templates only); this
# checkout is built in build/ with the default preset.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: bash tools/compare_outputs.sh REV" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
rev=$(git -C "$root" rev-parse --verify "$1^{commit}")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/levara-compare-XXXXXX")
cleanup() {
  git -C "$root" worktree remove --force "$scratch/old" >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT

echo "building this checkout"
(cd "$root" && cmake --preset default >/dev/null && cmake --build build --target levara-cli templates make_raw_line >/dev/null)
echo "building $(git -C "$root" log -1 --format='%h %s' "$rev")"
git -C "$root" worktree add --detach "$scratch/old" "$rev" >/dev/null 2>&1
cmake -S "$scratch/old" -B "$scratch/old-build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLEVARA_WINDOW=OFF -DLEVARA_TESTS=OFF -DLEVARA_BENCH=OFF >/dev/null
cmake --build "$scratch/old-build" --target levara-cli templates >/dev/null

old_cli=$scratch/old-build/levara-cli
new_cli=$root/build/levara-cli

# The filter each kind is saved after; text is tried after every filter.
filters_for() {
  case $1 in
    text) echo "none leveling intermediate single" ;;
    intermediate) echo "none intermediate" ;;
    single) echo "none single" ;;
    *) echo "none leveling" ;;
  esac
}

mkdir -p "$scratch/old-out" "$scratch/new-out" "$scratch/lines"
"$root/build/make_raw_line" --method BFFB --seed 1 5000 "$scratch/lines/bffb-5000.dat"
"$root/build/make_raw_line" --method aBFFB --seed 2 --prefix 转点 3000 "$scratch/lines/abffb-chinese-3000.dat"
rm -f "$scratch"/old-build/temp/{ooo.txt,ppp.txt,excel.xls} "$root"/build/temp/{ooo.txt,ppp.txt,excel.xls}

runs=0 same=0 failed=0 differ=0 messages=0
for input in "$root"/tests/data/* "$root"/tests/data/gsi/* "$root"/tests/data/real/*/*.GSI "$scratch"/lines/*; do
  [ -f "$input" ] || continue
  for kind in text bffb bbff bfbf bf abffb abffb-2way intermediate single adjustment network sections-csv gama starnet; do
    for filter in $(filters_for "$kind"); do
      name="$(basename "$input")-$kind-$filter"
      args=()
      [ "$filter" = none ] || args=(--filter "$filter")
      old_status=0 new_status=0
      # Each pair starts from no work files: a save that leaves them alone must not
      # compare what an earlier one left.
      rm -f "$scratch"/old-build/temp/{ooo.txt,ppp.txt,excel.xls} "$root"/build/temp/{ooo.txt,ppp.txt,excel.xls}
      "$old_cli" "${args[@]}" --save "$kind" "$input" "$scratch/old-out/$name" 2>"$scratch/old-out/$name.err" || old_status=$?
      "$new_cli" "${args[@]}" --save "$kind" "$input" "$scratch/new-out/$name" 2>"$scratch/new-out/$name.err" || new_status=$?
      runs=$((runs + 1))
      work_differs=""
      for work in ooo.txt ppp.txt excel.xls; do
        old_work=$scratch/old-build/temp/$work new_work=$root/build/temp/$work
        [ ! -e "$old_work" ] && [ ! -e "$new_work" ] && continue
        cmp -s "$old_work" "$new_work" || work_differs="$work_differs $work"
      done
      if [ -n "$work_differs" ]; then
        echo "DIFFERS  $name: the work files$work_differs differ"
      elif [ "$old_status" -eq 0 ] && [ "$new_status" -eq 0 ]; then
        if cmp -s "$scratch/old-out/$name" "$scratch/new-out/$name"; then
          same=$((same + 1))
          continue
        fi
        echo "DIFFERS  $name: the files differ"
      elif [ "$old_status" -ne 0 ] && [ "$old_status" -eq "$new_status" ]; then
        failed=$((failed + 1))
        if [ "$(sed -e "s#$scratch/old-out#OUT#g" -e "s#$scratch/old-build/temp#TEMP#g" "$scratch/old-out/$name.err")" != \
          "$(sed -e "s#$scratch/new-out#OUT#g" -e "s#$root/build/temp#TEMP#g" "$scratch/new-out/$name.err")" ]; then
          messages=$((messages + 1))
          echo "MESSAGE  $name: the same failure, said differently"
          sed 's/^/    before: /' "$scratch/old-out/$name.err"
          sed 's/^/    now:    /' "$scratch/new-out/$name.err"
        fi
        continue
      else
        echo "DIFFERS  $name: exit status $old_status before, $new_status now"
        sed 's/^/    before: /' "$scratch/old-out/$name.err"
        sed 's/^/    now:    /' "$scratch/new-out/$name.err"
      fi
      differ=$((differ + 1))
    done
  done
done

echo "$runs runs against $(git -C "$root" rev-parse --short "$rev"): $same identical files, $failed equal failures ($messages said differently), $differ differences"
[ "$differ" -eq 0 ]
