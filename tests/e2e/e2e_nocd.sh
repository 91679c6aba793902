#!/usr/bin/env bash
# A new user's first minute on an installed build: started from the desktop menu with no CD
# at hand, a folder that holds none, the demo CD installed with the program; a CD without
# its skin ends after one message; a picture wider than the screen is centred.
. "$(dirname "$0")/lib.sh"

prefix="$E2E_TMP/prefix"
cmake --install "$(dirname "$KATALOG_BIN")" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
demo="$prefix/share/katalog/demo-cd"
[ -f "$demo/SYSTEM/MAP.PIC" ] && [ -f "$demo/CTIMNE.TXT" ] || fail "the demo CD was not installed"

# Runs a program of the build in the background from the home folder.
run() {
  (cd "$HOME" && exec "$@") >"$E2E_TMP/katalog.log" 2>&1 &
  KATALOG_PID=$!
  E2E_PIDS+=($KATALOG_PID)
}

# Waits for the one shown window of the program whose size is not W H (0 0: any); prints it.
only_window() {
  local i w
  for i in $(seq 100); do
    w=$(xdotool search --onlyvisible --pid "$KATALOG_PID" 2>/dev/null | tail -n1 || true)
    if [ -n "$w" ]; then
      sleep 0.3
      echo "$w"
      return 0
    fi
    kill -0 "$KATALOG_PID" 2>/dev/null || { cat "$E2E_TMP/katalog.log" >&2; fail "katalog ended"; }
    sleep 0.1
  done
  fail "no window came up"
}

size_of() { xdotool getwindowgeometry --shell "$1" | awk -F= '/^(WIDTH|HEIGHT)=/{printf "%s ", $2}' | sed 's/ $//'; }
shot() { [ -z "${E2E_KEEP_SHOTS:-}" ] || e2e_shot "$E2E_KEEP_SHOTS/$1.png"; }

e2e_start 1024x768

# The desktop entry passes nothing: the installed binary's folder holds no CD, neither does
# any medium; the user is asked once, in one window.
run "$prefix/bin/katalog"
nocd=$(only_window)
[ "$(xdotool getwindowname "$nocd")" = "Katalog" ] || fail "the no-CD window is '$(xdotool getwindowname "$nocd")'"
read -r w h <<<"$(size_of "$nocd")"
[ "$w" -lt 700 ] && [ "$h" -lt 400 ] || fail "the no-CD window is $w x $h"
shot nocd
sleep 1
[ "$(xdotool search --onlyvisible --pid "$KATALOG_PID" | wc -l)" = 1 ] || fail "more than one window without a CD"

# A folder without a CD is named in one message, then the same window comes back.
mkdir -p "$HOME/Dokumenty"
xdotool key alt+v
picker=$(e2e_wait_window '^Vyberte složku s CD$')
xdotool type --delay 20 "$HOME/Dokumenty"
xdotool key Return
e2e_wait_closed "$picker"
message=$(only_window)
shot nocd-message
xdotool key Return
e2e_wait_closed "$message"
again=$(only_window)
[ "$(size_of "$again")" = "$w $h" ] || fail "not the no-CD window again after the message"

# The installed demo CD brings up the main menu, and is remembered.
xdotool key alt+u
for i in $(seq 300); do
  E2E_WIN=$(e2e_menu_window)
  [ -n "$E2E_WIN" ] && break
  kill -0 "$KATALOG_PID" 2>/dev/null || { cat "$E2E_TMP/katalog.log" >&2; fail "katalog ended"; }
  sleep 0.1
done
[ -n "$E2E_WIN" ] || fail "the demo CD brought up no main menu"
shot nocd-demo
grep -qxF "$demo/" "$XDG_CONFIG_HOME/katalog/last-cd" || fail "the chosen CD was not remembered"
kill "$KATALOG_PID"
wait "$KATALOG_PID" 2>/dev/null || true

# A CD without its skin: one message, no main menu, the end with a failure status.
cp -al "$KATALOG_CD" "$E2E_TMP/broken"
rm -rf "$E2E_TMP/broken/SYSTEM/Cz"
run "$KATALOG_BIN" "$E2E_TMP/broken"
message=$(only_window)
sleep 1
# Above the intro picture, the one message; no main menu, no other message.
[ "$(xdotool search --onlyvisible --name '^Katalog$' | wc -l)" = 1 ] || fail "more than the message is shown"
[ -z "$(e2e_menu_window)" ] || fail "the main menu came up"
shot broken-skin
xdotool key Return
e2e_wait_exit 10 || fail "the program went on after its fatal message"
status=0
wait "$KATALOG_PID" || status=$?
[ "$status" -ne 0 ] || fail "a fatal error ended with status 0"

# A picture wider than the screen: the viewer is centred, whatever the window manager did.
cp -al "$KATALOG_CD" "$E2E_TMP/wide"
picture="$E2E_TMP/wide/PROGRAMY/HRY/BLUDISTE/bludiste.bmp"
rm "$picture"
convert -size 1400x300 gradient:navy-gold "BMP3:$picture"
printf '[ANIM]\r\nANIM=Off\r\n' >"$XDG_CONFIG_HOME/katalog/kat.INI"
e2e_katalog "$E2E_TMP/wide"
e2e_choose Programy SeznamSekci 1 # Hry: Bludiště is shown
e2e_press Programy Nahled 80 60
viewer=$(e2e_wait_dialog)
sleep 0.5
read -r vx vy <<<"$(e2e_window_at "$viewer")"
[ "$vx $vy" = "$(( (1024 - 1402) / 2 )) $(( (768 - 302) / 2 ))" ] || fail "the viewer is at $vx,$vy"
shot wide-viewer
echo "no-CD journeys passed"
