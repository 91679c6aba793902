#!/usr/bin/env bash
# The small layout in Slovak: the language from the locale, the picture viewer by hover,
# other titles with an order saved to a file (no printer here), the about pages, help,
# settings (music, song, animation, a font applied everywhere), minimise and restore.
. "$(dirname "$0")/lib.sh"

kat_ini="$XDG_CONFIG_HOME/katalog/kat.INI"
win_ini="$XDG_CONFIG_HOME/katalog/win.ini"
unset LC_ALL LC_MESSAGES
E2E_ENV="LANG=sk_SK.UTF-8"

e2e_start 800x600
help_button() {
  local l t
  read -r l t <<<"$(e2e_layout Menu mnuNapoveda)"
  echo "$((E2E_X + l)) $((E2E_Y + t)) 50 40"
}

# A win.ini that names another country wins over the locale: Czech captions.
printf '[intl]\r\niCountry=420\r\n' >"$win_ini"
e2e_katalog
czech=$(e2e_region $(help_button))
e2e_stop
rm "$win_ini"
e2e_start 800x600
e2e_katalog
[ "$(e2e_region $(help_button))" != "$czech" ] || fail "the Slovak locale still shows Czech captions"

# With the animation on (the default) the pointer over the preview opens the viewer.
read -r px py <<<"$(e2e_at Programy Nahled 60 50)"
xdotool mousemove "$px" "$py"
sleep 0.2
xdotool mousemove $((px + 5)) $((py + 5))
viewer=$(e2e_wait_dialog)
xdotool key Escape
e2e_wait_closed "$viewer"
xdotool mousemove $((E2E_X + 5)) $((E2E_Y + 480))

# Other titles: three of the first title into the order, the order form, Escape cancels;
# Enter prints, which without a printer saves the order as a text file.
e2e_menu mnuDalsiTituly
read -r tx ty _ _ <<<"$(e2e_rect DalsiNaseCD SeznamTitulu)"
e2e_click $((tx + 40)) $((ty + 8))
e2e_press DalsiNaseCD ObjednavkaChk 10 10
e2e_press DalsiNaseCD KusuInc 10 10
e2e_press DalsiNaseCD KusuInc 10 10
e2e_press DalsiNaseCD Tisk
form=$(e2e_wait_window '^Tisk$')
xdotool key Escape
e2e_wait_closed "$form"
e2e_press DalsiNaseCD Tisk
form=$(e2e_wait_window '^Tisk$')
xdotool type --delay 20 "12345678"
xdotool key Tab Tab Tab
xdotool type --delay 20 "Jan Novak"
xdotool key Return
# "No printer": the message, then the save dialog.
message=$(e2e_wait_message)
xdotool key Return
e2e_wait_closed "$message"
e2e_wait_window '(it jako|Save As)' >/dev/null
xdotool type --delay 20 "$HOME/objednavka"
xdotool key Return
e2e_wait_file "$HOME/objednavka.txt" "Jan Novak"
order=$(iconv -f WINDOWS-1250 -t UTF-8 "$HOME/objednavka.txt")
grep -q "^Atlas světa 2025 .* 3 " <<<"$order" || fail "the order lacks three of the title: $order"
grep -q "12345678" <<<"$order" || fail "the order lacks the IČO"
e2e_wait_closed "$form"

# About pages: each page button changes the text; the web button opens the site.
e2e_menu mnuONas
text=$(e2e_rect ONas TextClanku)
shown=$(e2e_region $text)
for page in Autor VolneSiritSoft Zaruka OProg; do
  e2e_press ONas $page
  e2e_wait_change "$shown" $text || fail "the $page page did not change the text"
  shown=$(e2e_region $text)
done
e2e_press ONas WWW 60 15
e2e_wait_opened "http"

# Help opens the HTML help beside the missing WinHelp file.
e2e_menu mnuNapoveda
e2e_wait_opened "SYSTEM/CDHELP.HTM"

# Settings: song 3, saved; music and animation off, saved; music on again, saved.
e2e_menu mnuNastaveni
e2e_press Nastaveni Song3
e2e_press Nastaveni OK
e2e_wait_file "$kat_ini" "File=3"
e2e_press Nastaveni Hudba
e2e_press Nastaveni Animace
e2e_press Nastaveni OK
e2e_wait_file "$kat_ini" "Music=Off"
e2e_wait_file "$kat_ini" "ANIM=Off"
e2e_press Nastaveni Hudba
e2e_press Nastaveni OK
e2e_wait_file "$kat_ini" "Music=On"

# A font chosen in the font dialog reaches the catalogue and the settings file.
e2e_menu mnuProgramy
list=$(e2e_rect Programy SeznamProgramu)
plain=$(e2e_region $list)
e2e_menu mnuNastaveni
e2e_press Nastaveni Pismo
fonts=$(e2e_wait_dialog)
xdotool type --delay 30 "DejaVu Serif"
xdotool key Return
e2e_wait_closed "$fonts"
e2e_press Nastaveni OK
e2e_wait_file "$kat_ini" "name=DejaVu Serif"
e2e_menu mnuProgramy
[ "$(e2e_region $list)" != "$plain" ] || fail "the font did not reach the program list"

# Minimise and restore.
read -r mx my <<<"$(e2e_layout Menu Minimalizace)"
e2e_click $((E2E_X + mx + 10)) $((E2E_Y + my + 10))
for i in $(seq 100); do
  xdotool search --onlyvisible --name '^Katalog$' >/dev/null 2>&1 || break
  sleep 0.1
done
! xdotool search --onlyvisible --name '^Katalog$' >/dev/null 2>&1 || fail "minimise left the window shown"
xdotool windowactivate --sync "$E2E_WIN" 2>/dev/null || xdotool windowmap --sync "$E2E_WIN"
e2e_wait_window '^Katalog$' >/dev/null

read -r qx qy <<<"$(e2e_layout Menu Quit)"
e2e_click $((E2E_X + qx + 10)) $((E2E_Y + qy + 10))
e2e_wait_exit 10 || fail "quit did not end the program"
echo "titles and settings journey passed"
