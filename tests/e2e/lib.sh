# Helpers for the real-window journeys. Source it, then call e2e_start WIDTHxHEIGHT.
set -euo pipefail

E2E_TMP=$(mktemp -d)
export XDG_CONFIG_HOME="$E2E_TMP/config"
export HOME="$E2E_TMP/home"
unset XDG_DATA_HOME BROWSER DEFAULT_BROWSER
mkdir -p "$XDG_CONFIG_HOME/katalog" "$HOME"
E2E_PIDS=()
E2E_LAYOUTS="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/app/Layouts.h"

# Browsers and document viewers are not started: a stand-in xdg-open early on the PATH
# records each address or file it is given, one a line, in $E2E_OPENED.
E2E_OPENED="$E2E_TMP/opened"
mkdir -p "$E2E_TMP/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$E2E_OPENED" >"$E2E_TMP/bin/xdg-open"
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH="$E2E_TMP/bin:$PATH"

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${E2E_KEEP_SHOTS:-}" ] && [ -n "${DISPLAY:-}" ]; then
    import -window root "$E2E_KEEP_SHOTS/failure.png" 2>/dev/null || true
  fi
  exit 1
}

# Starts Xvfb on a free display and openbox on it.
e2e_start() {
  local size=$1
  E2E_LARGE=$([ "${size%%x*}" -ge 1024 ] && echo 1 || echo 0)
  exec 3>"$E2E_TMP/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  exec 3>&-
  local i
  for i in $(seq 100); do [ -s "$E2E_TMP/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  openbox >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  for i in $(seq 50); do
    xdotool search --name '^Openbox$' >/dev/null 2>&1 && break
    sleep 0.1
  done
}

# Starts katalog on the demo CD (or on the folder given) from the home folder and waits for
# the main menu window; E2E_WIN, E2E_X and E2E_Y then name it and its place.
e2e_katalog() {
  local cd=${1:-$KATALOG_CD}
  # E2E_ENV: extra NAME=VALUE words for the program alone (a locale the shell lacks).
  (cd "$HOME" && exec env ${E2E_ENV:-} "$KATALOG_BIN" "$cd") >"$E2E_TMP/katalog.log" 2>&1 &
  KATALOG_PID=$!
  E2E_PIDS+=($KATALOG_PID)
  local i
  for i in $(seq 300); do
    E2E_WIN=$(e2e_menu_window)
    if [ -n "$E2E_WIN" ]; then
      sleep 0.5
      read -r E2E_X E2E_Y _ _ <<<"$(e2e_geometry)"
      return 0
    fi
    kill -0 "$KATALOG_PID" 2>/dev/null || { cat "$E2E_TMP/katalog.log" >&2; fail "katalog ended during start-up"; }
    sleep 0.1
  done
  fail "no main menu window"
}

# The shown main menu window, told from the program's other windows of the same name by its
# size; empty when there is none.
e2e_menu_window() {
  local name w size
  name=$([ "$E2E_LARGE" = 1 ] && echo MenuLarge || echo MenuSmall)
  size=$(grep -o "$name{[0-9]*, *[0-9]*" "$E2E_LAYOUTS" | sed 's/.*{//; s/, */ /')
  for w in $(xdotool search --onlyvisible --name '^Katalog$' 2>/dev/null); do
    [ "$(xdotool getwindowgeometry --shell "$w" | awk -F= '/^(WIDTH|HEIGHT)=/{printf "%s ", $2}' | sed 's/ $//')" = "$size" ] &&
      { echo "$w"; return 0; }
  done
  return 0
}

# Ends the program and the display of one journey.
e2e_stop() {
  kill "${E2E_PIDS[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  E2E_PIDS=()
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

# "left top" of a control in a layout table of app/Layouts.h, for the current layout.
e2e_layout() {
  local table=$1 control=$2
  awk -v table="$table" -v control="\"$control\"" -v large="$E2E_LARGE" '
    index($0, "Row " table "[] = {") { inside = 1; next }
    inside && /^};/ { exit }
    inside && index($0, "{" control ",") {
      gsub(/[{}",]/, " ")
      # name, then left top [width height] for the large and the small layout
      n = split($0, f, " ")
      if (n == 5) { l = f[2]; t = f[3]; sl = f[4]; st = f[5] }
      else { l = f[2]; t = f[3]; sl = f[6]; st = f[7] }
      print (large == 1 ? l " " t : sl " " st)
      found = 1
      exit
    }
    END { if (!found) exit 1 }
  ' "$E2E_LAYOUTS" || fail "no $control in the $table table"
}

# Where the content windows sit in the main menu window: "DX DY".
e2e_content_offset() {
  local name; name=$([ "$E2E_LARGE" = 1 ] && echo MenuLarge || echo MenuSmall)
  grep -o "$name{[^\"]*" "$E2E_LAYOUTS" | tr -d '{' | awk -F', *' '{ print $3, $4 }'
}

# Screen point of a content window's control, DX DY (default 20 15) inside it.
e2e_at() {
  local table=$1 control=$2 dx=${3:-20} dy=${4:-15} cx cy l t
  read -r cx cy <<<"$(e2e_content_offset)"
  read -r l t <<<"$(e2e_layout "$table" "$control")"
  echo "$((E2E_X + cx + l + dx)) $((E2E_Y + cy + t + dy))"
}

# Clicks a content window's control.
e2e_press() {
  local x y
  read -r x y <<<"$(e2e_at "$@")"
  e2e_click "$x" "$y"
}

# Clicks a main menu button.
e2e_menu() {
  local l t
  read -r l t <<<"$(e2e_layout Menu "$1")"
  e2e_click $((E2E_X + l + 25)) $((E2E_Y + t + 15))
}

# Waits for a shown window other than the main menu window among those that
# `xdotool search --onlyvisible ARGS` finds; PICK (head or tail) chooses one; prints its id.
e2e_wait_other() {
  local what=$1 pick=$2 i w
  shift 2
  for i in $(seq 100); do
    w=$(xdotool search --onlyvisible "$@" 2>/dev/null | grep -vx "$E2E_WIN" | "$pick" -n1 || true)
    [ -n "$w" ] && { sleep 0.3; echo "$w"; return 0; }
    sleep 0.1
  done
  fail "no $what came up"
}

# Waits for a window of the program besides the main menu window (a dialog); prints its id.
e2e_wait_dialog() { e2e_wait_other dialog tail --pid "$KATALOG_PID"; }

# Waits for a message box of the program (a window of the main menu's name); prints its id.
e2e_wait_message() { e2e_wait_other message head --name '^Katalog$'; }

# KEY is set in the section of kat.INI whose name starts with PREFIX.
e2e_ini_has() {
  tr -d '\r' <"$XDG_CONFIG_HOME/katalog/kat.INI" | awk -v prefix="[$1" -v key="$2=" '
    /^\[/ { inside = index($0, prefix) == 1; next }
    inside && index($0, key) == 1 { found = 1 }
    END { exit !found }'
}

# Waits for a visible window whose name matches NAME; prints its id.
e2e_wait_window() {
  local i w
  for i in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$w" ] && { sleep 0.3; echo "$w"; return 0; }
    sleep 0.1
  done
  fail "no window named '$1'"
}

# Waits until the window with id W is no longer shown.
e2e_wait_closed() {
  local i
  for i in $(seq 100); do
    xdotool search --onlyvisible --pid "$KATALOG_PID" 2>/dev/null | grep -qx "$1" || { sleep 0.2; return 0; }
    sleep 0.1
  done
  fail "window $1 is still shown"
}

# Left top corner of window W: "X Y".
e2e_window_at() {
  xdotool getwindowgeometry --shell "$1" | awk -F= '/^(X|Y)=/{printf "%s ", $2}' | sed 's/ $//'
}

# Waits until FILE exists and, when given, contains the fixed text TEXT.
e2e_wait_file() {
  local file=$1 text=${2:-} i
  for i in $(seq 100); do
    if [ -e "$file" ] && { [ -z "$text" ] || grep -aqF -- "$text" "$file"; }; then return 0; fi
    sleep 0.1
  done
  fail "$file never held '$text'"
}

# Waits until FILE no longer contains TEXT.
e2e_wait_file_without() {
  local file=$1 text=$2 i
  for i in $(seq 100); do
    grep -aqF -- "$text" "$file" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "$file still holds '$text'"
}

# Waits until the stand-in opener was given an argument containing TEXT.
e2e_wait_opened() { e2e_wait_file "$E2E_OPENED" "$1"; }

# Waits up to 3 s until the md5 of screen rectangle X Y W H differs from BEFORE.
e2e_wait_change() {
  local before=$1 i
  shift
  for i in $(seq 30); do
    [ "$(e2e_region "$@")" != "$before" ] && return 0
    sleep 0.1
  done
  return 1
}

# Chooses entry INDEX (counted from 0) of a drop-down list of a content window.
e2e_choose() {
  local table=$1 control=$2 index=$3 k
  e2e_press "$table" "$control" 60 10
  xdotool key Home
  for ((k = 0; k < index; k++)); do xdotool key Down; done
  xdotool key Return
  sleep 0.4
}

# Screen rectangle "X Y W H" of a content window's control that has a size in its table.
e2e_rect() {
  local table=$1 control=$2 cx cy
  read -r cx cy <<<"$(e2e_content_offset)"
  awk -v table="$table" -v control="\"$control\"" -v large="$E2E_LARGE" -v x0=$((E2E_X + cx)) -v y0=$((E2E_Y + cy)) '
    index($0, "Row " table "[] = {") { inside = 1; next }
    inside && /^};/ { exit }
    inside && index($0, "{" control ",") {
      gsub(/[{}",]/, " ")
      split($0, f, " ")
      o = large == 1 ? 1 : 5
      print x0 + f[o + 1], y0 + f[o + 2], f[o + 3], f[o + 4]
      found = 1
      exit
    }
    END { if (!found) exit 1 }
  ' "$E2E_LAYOUTS" || fail "no sized $control in the $table table"
}
