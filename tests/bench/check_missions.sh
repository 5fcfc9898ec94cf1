#!/usr/bin/env bash
# The editor's quick check (F6) on every numbered mission beside the
# solver's own answer: the check's command exactly as the editor runs it,
# its wall time, and whether it decided the same (clearable, shortest, ways,
# difficulty) as a search without a time limit.
#
#   tests/bench/check_missions.sh [BUILD_DIR]
#
# Exit status 1 when a check answers otherwise than the solver or takes
# LIMIT seconds or more (LIMIT=5 unless set).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build}
solver=$build/tessmar-solve
limit=${LIMIT:-5}
[ -x "$solver" ] || { echo "no solver at $solver" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fields() {  # the answer line's fields that decide, one line
  python3 -c 'import json,sys
a = json.loads(sys.stdin.read().strip().splitlines()[-1])
print(" ".join(str(a.get(k)) for k in ("random_pairs","clearable","decided","shortest","ways","ways_at_least","difficulty")))'
}
echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg)"
printf '%-4s %-7s %-7s %s\n' mission check solver answer
bad=0
for file in "$build"/gamedata/mission/[0-9][0-9].msn; do
  n=$(basename "$file" .msn)
  start=$EPOCHREALTIME
  "$solver" "$file" --json --script "$work/way.txt" --from mission --seconds 8 > "$work/check.json"
  check=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { print b - a }')
  start=$EPOCHREALTIME
  "$solver" "$file" --json > "$work/solve.json"
  plain=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { print b - a }')
  a=$(fields < "$work/check.json"); b=$(fields < "$work/solve.json")
  verdict="same: $a"
  [ "$a" = "$b" ] || { verdict="DIFFERS: check $a, solver $b"; bad=1; }
  awk -v t="$check" -v l="$limit" 'BEGIN { exit !(t >= l) }' && { verdict="$verdict; SLOW"; bad=1; }
  printf '%-4s %6.2fs %6.2fs %s\n' "$n" "$check" "$plain" "$verdict"
done
exit $bad
