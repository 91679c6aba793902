# Helpers for the real-window journeys. Source it, then call e2e_start WIDTHxHEIGHT.
set -euo pipefail

E2E_TMP=$(mktemp -d)
export XDG_CONFIG_HOME="$E2E_TMP/config"
export HOME="$E2E_TMP/home"
mkdir -p "$XDG_CONFIG_HOME" "$HOME"
E2E_PIDS=()

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb on a free display and openbox on it.
e2e_start() {
  local size=$1
  exec 3>"$E2E_TMP/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  exec 3>&-
  local i
  for i in $(seq 100); do [ -s "$E2E_TMP/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  openbox >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  sleep 1
}

# Starts katalog on the demo CD (or on the folder given) and waits for the main menu window.
e2e_katalog() {
  local cd=${1:-$KATALOG_CD}
  "$KATALOG_BIN" "$cd" >"$E2E_TMP/katalog.log" 2>&1 &
  KATALOG_PID=$!
  E2E_PIDS+=($KATALOG_PID)
  local i
  for i in $(seq 300); do
    E2E_WIN=$(xdotool search --onlyvisible --name '^Katalog$' 2>/dev/null | head -n1 || true)
    [ -n "$E2E_WIN" ] && { sleep 1; return 0; }
    kill -0 "$KATALOG_PID" 2>/dev/null || { cat "$E2E_TMP/katalog.log" >&2; fail "katalog ended during start-up"; }
    sleep 0.1
  done
  fail "no main menu window"
}

# Window position and size: "X Y W H".
e2e_geometry() {
  xdotool getwindowgeometry --shell "$E2E_WIN" | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/{printf "%s ", $2}' | sed 's/ $//'
}

e2e_click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }

e2e_shot() { import -window root "$1"; }

# md5 of a screen rectangle X Y W H, to see whether something changed there.
e2e_region() {
  import -window root -crop "${3}x${4}+${1}+${2}" +repage rgb:- | md5sum | cut -d' ' -f1
}

# Colour of one screen pixel as "r,g,b".
e2e_pixel() {
  import -window root -crop "1x1+${1}+${2}" +repage rgb:- | od -An -tu1 | awk '{printf "%s,%s,%s", $1, $2, $3}'
}

# Waits up to N seconds for the katalog process to end.
e2e_wait_exit() {
  local i
  for i in $(seq $(( ${1:-10} * 10 ))); do
    kill -0 "$KATALOG_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
