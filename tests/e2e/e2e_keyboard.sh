#!/usr/bin/env bash
# The whole demo with the keyboard alone, large layout, Czech: a section, an order, a
# search, a program run, copied into a new folder in the home folder and made a favourite,
# its pictures stepped through, a title ordered and the order saved, the music switched
# off. Not one mouse event: the pointer rests in a corner of the screen throughout.
. "$(dirname "$0")/lib.sh"

kat_ini="$XDG_CONFIG_HOME/katalog/kat.INI"

keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
# Chooses entry INDEX of the focused drop-down list.
choose() {
  local k
  keys alt+Down Home
  for ((k = 0; k < $1; k++)); do keys Down; done
  keys Return
}
tabs() {
  local k
  for ((k = 0; k < $1; k++)); do keys Tab; done
}
# Keys go to the main menu window only once the window manager has given it the keyboard.
wait_active() {
  local i
  for i in $(seq 100); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$E2E_WIN" ] && { sleep 0.2; return 0; }
    sleep 0.1
  done
  fail "the main menu window did not get the keyboard back $1 (active: $(xdotool getactivewindow 2>&1), menu: $E2E_WIN)"
}
shot() { [ -z "${E2E_KEEP_SHOTS:-}" ] || e2e_shot "$E2E_KEEP_SHOTS/keyboard-$1.png"; }

e2e_start 1024x768
xdotool mousemove 1023 767
e2e_katalog
wait_active "at start"
pointer=$(xdotool getmouselocation --shell | grep -E '^(X|Y)=' | tr '\n' ' ')
list=$(e2e_rect Programy SeznamProgramu)
description=$(e2e_rect Programy PopisProgramu)
menu_column="$E2E_X $((E2E_Y + 45)) 52 330"

# Nothing marks the focus until a key is pressed; the first Tab shows the mark in the menu.
column=$(e2e_region $menu_column)
keys Tab
shot menu
[ "$(e2e_region $menu_column)" != "$column" ] || fail "no focus mark in the menu after a key"

# Escape in the main menu ends nothing.
keys Escape
kill -0 "$KATALOG_PID" 2>/dev/null && [ -n "$(e2e_menu_window)" ] || fail "Escape ended the program"

# Down the column into the catalogue: the section box, then the order box.
tabs 3
all=$(e2e_region $list)
choose 1 # Hry
games=$(e2e_region $list)
[ "$games" != "$all" ] || fail "the section did not change the list"
keys Tab
choose 1
[ "$(e2e_region $list)" != "$games" ] || fail "the order did not change the list"

# Search from the search field; Enter closes the result.
tabs 2
xdotool type --delay 30 "miny"
keys Return
result=$(e2e_wait_dialog)
keys Return
e2e_wait_closed "$result"
wait_active "after the search result"

# The list: typing finds Miny 2000, Space shows it, Enter runs it.
before=$(e2e_region $description)
keys shift+Tab
xdotool type --delay 30 "Miny"
sleep 1
keys space
e2e_wait_change "$before" $description || fail "Space in the list did not show the program"
keys Return
e2e_wait_opened "PROGRAMY/HRY/MINY/miny.htm"

# Copy: search field, search button, description, preview, logo, run, copy.
tabs 7
shot catalogue
keys space
copy=$(e2e_wait_dialog)
shot copy
# The folder name, the folders, the drives, then the new-folder button.
tabs 3
keys space
[ -d "$HOME/Miny" ] || fail "no new folder"
keys Tab space
e2e_wait_closed "$copy"
wait_active "after copying"
e2e_wait_file "$HOME/Miny/miny.htm"
cmp -s "$HOME/Miny/navod.txt" "$KATALOG_CD/PROGRAMY/HRY/MINY/navod.txt" || fail "the copy differs"

# Favourites: documentation, install, then the favourites button.
tabs 3
keys space
e2e_ini_has Oblibene- "Miny 2000" || fail "no favourite written"

# Back to the preview; each key shows the next picture, the one after the last closes.
for ((k = 0; k < 6; k++)); do keys shift+Tab; done
keys Return
viewer=$(e2e_wait_dialog)
first=$(e2e_region 0 0 1024 768)
keys Right
e2e_wait_change "$first" 0 0 1024 768 || fail "Right did not show the next picture"
shot viewer
keys Left Right Next
keys Right
e2e_wait_closed "$viewer"
wait_active "after the viewer"

# Other titles by Ctrl+Tab: the first title, into the order, three copies, the order form.
keys ctrl+Tab ctrl+Tab
keys Down Up
tabs 2
keys space
tabs 2
keys space space
shot titles
keys Tab space
form=$(e2e_wait_window '^Tisk$')
xdotool type --delay 20 "12345678"
tabs 3
xdotool type --delay 20 "Jan Novak"
keys Return
# No printer here: the message, then the save dialog.
message=$(e2e_wait_message)
keys Return
e2e_wait_closed "$message"
e2e_wait_window '(it jako|Save As)' >/dev/null
xdotool type --delay 20 "$HOME/objednavka"
keys Return
e2e_wait_file "$HOME/objednavka.txt" "Jan Novak"
order=$(iconv -f WINDOWS-1250 -t UTF-8 "$HOME/objednavka.txt")
grep -q "^Atlas světa 2025 .* 3 " <<<"$order" || fail "the order lacks three of the title: $order"
e2e_wait_closed "$form"
wait_active "after the order form"

# Settings: past the five songs not playing to the music switch, then OK.
keys ctrl+Tab
tabs 5
keys space
shot settings
tabs 3
keys space
e2e_wait_file "$kat_ini" "Music=Off"

# The window buttons come last: Quit ends the program.
tabs 2
keys space
e2e_wait_exit 10 || fail "Quit from the keyboard did not end the program"
[ "$(xdotool getmouselocation --shell | grep -E '^(X|Y)=' | tr '\n' ' ')" = "$pointer" ] || fail "the pointer moved"
echo "keyboard journey passed"
