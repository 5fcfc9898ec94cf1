#!/usr/bin/env bash
# CPU seconds (user + system) the solver takes to decide each numbered
# mission, the slowest five first, then the rest by number.
#
#   tests/bench/solver_missions.sh [SOLVER] [MISSION_FOLDER]
#
# SOLVER defaults to build/tessmar-solve, MISSION_FOLDER to the mission
# sources in missions/. Run it from a Release build on a quiet machine; the
# load average is printed beside the times because a busy machine makes
# them longer. Exit status 1 when a mission takes LIMIT seconds or more
# (LIMIT=3 unless set in the environment).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
solver=${1:-$here/build/tessmar-solve}
folder=${2:-$here/missions}
limit=${LIMIT:-3}
[ -x "$solver" ] || { echo "no solver at $solver: build the tessmar-solve target" >&2; exit 2; }

results=$(mktemp)
trap 'rm -f "$results"' EXIT
TIMEFORMAT='%U %S'
for file in "$folder"/[0-9][0-9].txt "$folder"/[0-9][0-9].msn; do
    [ -e "$file" ] || continue
    name=$(basename "$file")
    cpu=$( { time "$solver" "$file" --json > /dev/null; } 2>&1 | tail -n 1 | awk '{ printf "%.2f", $1 + $2 }')
    echo "${name%.*} $cpu" >> "$results"
done
[ -s "$results" ] || { echo "no numbered missions in $folder" >&2; exit 2; }

echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg 2>/dev/null || echo unknown)"
echo "slowest five (CPU seconds):"
sort -k 2 -n -r "$results" | head -n 5 | awk '{ printf "  %s  %6.2f\n", $1, $2 }'
echo "all missions:"
sort -k 1 "$results" | awk '{ printf "  %s  %6.2f\n", $1, $2 }'
awk -v limit="$limit" '{ total += $2; if ($2 >= limit) over = over " " $1 }
    END { printf "total %.2f s; limit %s s", total, limit;
          if (over != "") { printf ", over it:%s\n", over; exit 1 } printf ", none over it\n" }' "$results"
