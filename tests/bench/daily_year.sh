#!/usr/bin/env bash
# Makes the day's mission for every day of a year with tessmar-solve
# --daily and prints the CPU seconds (user + system) each day took, the
# slowest ten first, and the median difficulty of each weekday.
#
#   tests/bench/daily_year.sh [YEAR] [SOLVER]
#
# YEAR defaults to 2027, SOLVER to build/tessmar-solve. Exit status 1 when
# a day takes LIMIT seconds or more (LIMIT=3 unless set in the environment)
# or a day's mission is not proven, or two days make the same mission.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
year=${1:-2027}
solver=${2:-$here/build/tessmar-solve}
limit=${LIMIT:-3}
[ -x "$solver" ] || { echo "no solver at $solver: build the tessmar-solve target" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
TIMEFORMAT='%U %S'
results=$work/results
day=0
while :; do
    date=$(date -u -d "$year-01-01 + $day days" +%F)
    [ "${date%%-*}" = "$year" ] || break
    weekday=$(date -u -d "$date" +%u)  # 1 Monday .. 7 Sunday
    answer=$work/$date.json
    cpu=$( { time "$solver" --daily "$date" "$work/$date.msn" --json > "$answer"; } 2>&1 | tail -n 1 |
        awk '{ printf "%.2f", $1 + $2 }')
    difficulty=$(sed -n 's/.*"difficulty":\([0-9.]*\).*/\1/p' "$answer")
    decided=$(grep -c '"clearable":true,"decided":true' "$answer" || true)
    echo "$date $weekday $cpu ${difficulty:-none} $decided" >> "$results"
    day=$((day + 1))
done

echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg 2>/dev/null || echo unknown)"
echo "slowest ten days (CPU seconds, difficulty):"
sort -k 3 -n -r "$results" | awk 'NR <= 10 { printf "  %s  %6.2f  %6s\n", $1, $3, $4 }'
echo "median difficulty by weekday:"
for w in 1 2 3 4 5 6 7; do
    name=$(date -u -d "2024-01-0$w" +%a)  # 2024-01-01 was a Monday
    awk -v w="$w" '$2 == w { print $4 }' "$results" | sort -n |
        awk -v name="$name" '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
            printf "  %s  %6.2f  (%d days, %.2f to %.2f)\n", name, m, NR, v[1], v[NR] }'
done
sums=$(cd "$work" && md5sum ./*.msn)
same=$(echo "$sums" | awk '{ print $1 }' | sort | uniq -d | wc -l)
echo "$sums" | awk '{ days[$1] = days[$1] " " substr($2, 3, 10); n[$1]++ }
    END { for (s in n) if (n[s] > 1) print "  the same mission on" days[s] }'
awk -v limit="$limit" -v same="$same" '{ total += $3; if ($3 >= limit) over = over " " $1; if ($5 != 1) bad = bad " " $1 }
    END { printf "%d days, total %.2f s, mean %.2f s; limit %s s", NR, total, total / NR, limit;
          fail = 0
          if (over != "") { printf ", over it:%s", over; fail = 1 } else printf ", none over it"
          if (bad != "") { printf "; not proven:%s", bad; fail = 1 }
          if (same > 0) { printf "; %d missions made on more than one day", same; fail = 1 }
          printf "\n"; exit fail }' "$results"
