#!/usr/bin/env bash
# What the program touches on a journey through every window of the demo CD, seen by strace:
# its own process writes only to the settings folder and the toolkit's caches, reads nothing
# outside the CD, the settings folder, the Wine prefix, the toolkit's files in the home folder
# and the system's files, and starts a process only when the documentation button asks for one.
. "$(dirname "$0")/lib.sh"

command -v strace >/dev/null || fail "strace is not installed (scripts/install-deps)"

# The copy inside the CD, as a user starts it: its own folder is the CD.
REAL_BIN="$KATALOG_CD/katalog"
[ -x "$REAL_BIN" ] || REAL_BIN=$KATALOG_BIN
TRACE="$E2E_TMP/trace"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
# A desktop session has a bus; without its address the toolkit would start dbus-launch.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
cat >"$E2E_TMP/traced" <<EOF
#!/bin/sh
exec strace -f -qq -ttt -s 4096 -e trace=%file,%process -o "$TRACE" "$REAL_BIN" "\$@"
EOF
chmod +x "$E2E_TMP/traced"
KATALOG_BIN="$E2E_TMP/traced"

e2e_start 1024x768
e2e_katalog
read -r X Y _ _ <<<"$(e2e_geometry)"
CX=$((X + 59)) CY=$((Y + 27))   # the content area

# Browse: three programs of the list, the viewer through the preview (it opens when the
# pointer moves onto it), stepped to its end.
for row in 2 5 1; do e2e_click $((CX + 60)) $((CY + 81 + 8 + row * 16)); done
xdotool mousemove $((CX + 602 + 60)) $((CY + 15 + 50)); sleep 0.2
xdotool mousemove $((CX + 602 + 91)) $((CY + 15 + 70)); sleep 1
for i in $(seq 12); do
  xdotool search --onlyvisible --name '^Obrázek$' >/dev/null 2>&1 || break
  xdotool mousemove 512 384 click 1; sleep 0.4
done
xdotool mousemove $((X + 300)) $((Y + 10)); sleep 0.2

# Settings: OK saves them.
e2e_click $((X + 25)) $((Y + 246 + 15))
e2e_click $((CX + 624 + 10)) $((CY + 488 + 10))
# About: three pages.
e2e_click $((X + 25)) $((Y + 120 + 15))
for page in 464 584 70; do e2e_click $((CX + page + 15)) $((CY + 495 + 12)); done
# Other titles: three of them, and the longer text of one.
e2e_click $((X + 25)) $((Y + 169 + 15))
for row in 0 1 3; do e2e_click $((CX + 60)) $((CY + 76 + 8 + row * 16)); done

# Back to the programs; the documentation of the selected program is the one thing that
# may start a process.
e2e_click $((X + 25)) $((Y + 51 + 15))
e2e_click $((CX + 60)) $((CY + 81 + 8))
MARK=$(date +%s.%N)
e2e_click $((CX + 628 + 15)) $((CY + 437 + 12))
sleep 1

e2e_click $((X + 822 + 12)) $((Y + 2 + 12))
e2e_wait_exit 20 || fail "quit did not end the program"
wait "$KATALOG_PID" 2>/dev/null || true

cp "$TRACE" /tmp/e2e_strace_trace.txt
echo "trace at /tmp/e2e_strace_trace.txt"
