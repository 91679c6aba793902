#!/usr/bin/env bash
# The main menu window in both layouts: place and size, its shape, dragging, the menu
# buttons, quitting.
. "$(dirname "$0")/lib.sh"

journey() {
  local size=$1 expect=$2 dx=$3 dy=$4 prog_top=$5 nast_top=$6
  e2e_start "$size"
  e2e_katalog
  local geo; geo=$(e2e_geometry)
  [ "$geo" = "$expect" ] || fail "$size: window at '$geo', expected '$expect'"
  read -r X Y W H <<<"$geo"

  # Outside the outline nothing of the window is drawn and no click reaches it: the point
  # (2, prog_top + 2) lies in the programs button's rectangle but outside the shape.
  [ "$(e2e_pixel $((X + 1)) $((Y + 5)))" = "0,0,0" ] || fail "$size: drawn outside the outline"
  local prog_btn="$((X + 10)) $((Y + prog_top + 10)) 30 20"
  e2e_click $((X + 25)) $((Y + nast_top + 15))
  local before; before=$(e2e_region $prog_btn)
  e2e_click $((X + 2)) $((Y + prog_top + 2))
  [ "$(e2e_region $prog_btn)" = "$before" ] || fail "$size: a click outside the shape reached the window"

  # The programs button switches back; its look changes to the current one.
  e2e_click $((X + 25)) $((Y + prog_top + 15))
  [ "$(e2e_region $prog_btn)" != "$before" ] || fail "$size: the programs button did not switch"

  # Dragging the title strip moves the window and its content together.
  local content_before; content_before=$(e2e_region $((X + dx + 100)) $((Y + dy + 100)) 200 100)
  xdotool mousemove $((X + 300)) $((Y + 10)) mousedown 1
  sleep 0.2
  local step
  for step in 1 2 3 4 5; do xdotool mousemove $((X + 300 + step * 10)) $((Y + 10 + step * 8)); sleep 0.05; done
  xdotool mouseup 1
  sleep 0.5
  read -r X2 Y2 _ _ <<<"$(e2e_geometry)"
  [ "$X2" -eq $((X + 50)) ] && [ "$Y2" -eq $((Y + 40)) ] || fail "$size: dragged to $X2,$Y2 from $X,$Y"
  [ "$(e2e_region $((X2 + dx + 100)) $((Y2 + dy + 100)) 200 100)" = "$content_before" ] ||
    fail "$size: the content window did not move with the frame"

  # Quit ends the process.
  e2e_click $((X2 + W - 20)) $((Y2 + 12))
  e2e_wait_exit 10 || fail "$size: quit did not end the program"
  kill "${E2E_PIDS[@]}" 2>/dev/null || true
  E2E_PIDS=()
}

journey 1024x768 "84 99 855 570" 59 27 51 246
journey 800x600 "25 50 750 500" 52 24 45 216
echo "main menu journeys passed"
