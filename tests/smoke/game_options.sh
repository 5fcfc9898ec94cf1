#!/usr/bin/env bash
# The game's command line without a display: --help names every option and
# exits 0, --version prints the project's version and exits 0, an unknown
# option or a missing mission file exits 2 with one line on stderr; none of
# them opens a window.
set -u
game=$(readlink -f "$1")
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
unset DISPLAY WAYLAND_DISPLAY
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config LANG=

run() {  # expected status, arguments...
  local expected=$1
  shift
  "$game" "$@" >"$work/out" 2>"$work/err"
  local status=$?
  [ "$status" = "$expected" ] || fail "tessmar $*: exit status $status, not $expected: $(cat "$work/err")"
}

run 0 --help
for option in --language --mission --replay --seed --help --version; do
  grep -q -- "^ *$option " "$work/out" || fail "--help does not describe $option: $(cat "$work/out")"
done
[ -s "$work/err" ] && fail "--help wrote to stderr: $(cat "$work/err")"
run 0 --version
[ "$(cat "$work/out")" = "tessmar $version" ] || fail "--version printed '$(cat "$work/out")', not 'tessmar $version'"
run 0 --language en --help
run 2 --bogus
[ -s "$work/out" ] && fail "an unknown option printed to stdout"
[ "$(wc -l <"$work/err")" = 1 ] && grep -q -- '--bogus' "$work/err" || fail "an unknown option: $(cat "$work/err")"
run 2 --mission "$work/none.msn"
run 2 --seed 4294967296
echo "PASSED"
