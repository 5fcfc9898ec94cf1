# Sourced by the real-window tests: starts Xvfb on a display it picks itself
# (-displayfd: the first free one, never another server's) and exports
# DISPLAY. Needs $work (a scratch folder) and sets xvfb_pid for the cleanup.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  [ -s "$work/display" ] || return 1
  DISPLAY=:$(head -n 1 "$work/display")
  export DISPLAY
}
