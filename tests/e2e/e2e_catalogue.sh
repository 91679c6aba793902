#!/usr/bin/env bash
# The catalogue as a user meets it, large layout, Czech: sections, the list by mouse and
# keys, run, documentation, home page, install and uninstall through the demo CD's setup
# scripts, favourites, every order, search with and without hits, the picture viewer by
# click, copying into a new folder.
. "$(dirname "$0")/lib.sh"

kat_ini="$XDG_CONFIG_HOME/katalog/kat.INI"
registry="$XDG_CONFIG_HOME/katalog/registry.reg"
installed="$HOME/.local/share/katalog-demo/Miny2000"

# The preview opens by click when the animation is off.
printf '[ANIM]\r\nANIM=Off\r\n' >"$kat_ini"
e2e_start 1024x768
e2e_katalog
list=$(e2e_rect Programy SeznamProgramu)
description=$(e2e_rect Programy PopisProgramu)
read -r lx ly _ _ <<<"$list"
away() { xdotool mousemove $((E2E_X + 5)) $((E2E_Y + 560)); sleep 0.2; }

# A section replaces the list; a click on a row shows the program, the arrow keys move on.
everything=$(e2e_region $list)
e2e_choose Programy SeznamSekci 1 # Hry
games=$(e2e_region $list)
[ "$games" != "$everything" ] || fail "the section did not change the list"
first=$(e2e_region $description)
e2e_click $((lx + 60)) $((ly + 8 + 16)) # the second row
e2e_wait_change "$first" $description || fail "a click on a row did not show its program"
second=$(e2e_region $description)
xdotool key Down
e2e_wait_change "$second" $description || fail "the arrow key did not show the next program"

# Miny 2000: run, documentation and home page go to the desktop's opener.
e2e_press Programy Spustit
e2e_wait_opened "PROGRAMY/HRY/MINY/miny.htm"
e2e_press Programy Popis
e2e_wait_opened "PROGRAMY/HRY/MINY/navod.txt"
e2e_press Programy Internet
e2e_wait_opened "https://www.example.com/miny/"

# Install: the setup script records the program and shows no window; when it ends, the
# button uninstalls without the window being touched, and the run button starts the
# installed copy.
read -r ix iy <<<"$(e2e_at Programy Instalovat 5 5)"
away
install_look=$(e2e_region "$ix" "$iy" 100 28)
e2e_press Programy Instalovat
away
e2e_wait_file "$registry" 'Uninstall\Miny2000]'
e2e_wait_file "$installed/spustit.sh"
e2e_wait_change "$install_look" "$ix" "$iy" 100 28 || e2e_wait_change "$install_look" "$ix" "$iy" 100 28 ||
  fail "the install button did not turn into uninstall when the setup ended"
# The install marker became the installed one when the setup's end was noticed.
e2e_ini_has Installed- "Miny 2000" || fail "the found installation left no installed marker"
e2e_press Programy Spustit
e2e_wait_opened "$installed/miny.htm"
e2e_press Programy Instalovat
e2e_wait_file_without "$registry" 'Miny2000'
for i in $(seq 50); do [ -e "$installed" ] || break; sleep 0.1; done
[ ! -e "$installed" ] || fail "the uninstaller left the installed copy"
away
[ "$(e2e_region "$ix" "$iy" 100 28)" = "$install_look" ] || fail "the uninstall button did not turn back"
# Selected anew, the program is looked up again: it reads as not installed any more.
xdotool key Up Down
away
[ "$(e2e_region "$ix" "$iy" 100 28)" = "$install_look" ] || fail "after the uninstaller the program still reads as installed"
! e2e_ini_has Installed- "Miny 2000" || fail "the installed marker outlived the uninstall"

# Favourites: the toggle writes the settings file; the favourites section lists the program.
e2e_press Programy btnZalozky
e2e_ini_has Oblibene- "Miny 2000" || fail "no favourite written"
e2e_choose Programy SeznamSekci 10 # Oblíbené
favourites=$(e2e_region $list)
[ "$favourites" != "$games" ] || fail "the favourites section shows the games"
e2e_press Programy btnZalozky
! e2e_ini_has Oblibene- "Miny 2000" || fail "the favourite was not removed"
e2e_wait_change "$favourites" $list || fail "the favourites list kept the removed program"

# Every order regroups everything and leaves the detail view neutral.
e2e_choose Programy SeznamSekci 11 # [Všechno]
declare -A orders=()
orders[$(e2e_region $list)]=1
for order in 1 2 3 4 5; do
  e2e_choose Programy TypTrideni $order
  orders[$(e2e_region $list)]=1
done
[ ${#orders[@]} -ge 5 ] || fail "the orders gave only ${#orders[@]} different lists"
neutral=$(e2e_region $description)
e2e_choose Programy TypTrideni 0

# Search: hits replace the list and Enter closes the result; no hits leave the list and
# Escape closes the result.
read -r ex ey <<<"$(e2e_at Programy Edit1 30 10)"
before=$(e2e_region $list)
e2e_click "$ex" "$ey"
xdotool type --delay 20 "logick"
xdotool key Return
result=$(e2e_wait_dialog)
xdotool key Return
e2e_wait_closed "$result"
hits=$(e2e_region $list)
[ "$hits" != "$before" ] || fail "the search did not narrow the list"
[ "$(e2e_region $description)" = "$neutral" ] || fail "the detail view is not neutral after hits"
e2e_click "$ex" "$ey"
xdotool key ctrl+a
xdotool type --delay 20 "qqzzqq"
xdotool key Return
result=$(e2e_wait_dialog)
xdotool key Escape
e2e_wait_closed "$result"
[ "$(e2e_region $list)" = "$hits" ] || fail "a search without hits changed the list"

# A button whose click opened a modal window is lit only while the pointer is on it: the
# search button, its result closed with the mouse, the pointer moved away.
read -r fx fy <<<"$(e2e_at Programy Filtr 3 3)"
away
search_idle=$(e2e_region "$fx" "$fy" 24 12)
e2e_press Programy Filtr
result=$(e2e_wait_dialog)
read -r rx ry <<<"$(e2e_window_at "$result")"
rw=$(xdotool getwindowgeometry --shell "$result" | awk -F= '/^WIDTH=/{print $2}')
ok_top=$(grep -o 'VysledkyOkTop = [0-9]*' "$E2E_LAYOUTS" | grep -o '[0-9]*$')
e2e_click $((rx + rw / 2)) $((ry + ok_top + 10))
e2e_wait_closed "$result"
away
[ "$(e2e_region "$fx" "$fy" 24 12)" = "$search_idle" ] || fail "the search button stayed lit after its result window"

# The picture viewer opens by click; Escape closes it, clicks step through to the end.
e2e_choose Programy SeznamSekci 1 # Hry: Bludiště is shown
e2e_press Programy Nahled 80 60
viewer=$(e2e_wait_dialog)
xdotool key Escape
e2e_wait_closed "$viewer"
e2e_press Programy Nahled 80 60
viewer=$(e2e_wait_dialog)
read -r vx vy <<<"$(e2e_window_at "$viewer")"
for i in 1 2 3 4 5; do
  xdotool search --onlyvisible --pid "$KATALOG_PID" | grep -qx "$viewer" || break
  e2e_click $((vx + 50)) $((vy + 50))
done
e2e_wait_closed "$viewer"

# Copy Miny 2000 into a new folder below the home folder (the dialog's first folder).
e2e_click $((lx + 60)) $((ly + 8))
xdotool key Down Down
e2e_press Programy Kopirovat
copy=$(e2e_wait_dialog)
read -r cx cy <<<"$(e2e_window_at "$copy")"
read -r nx ny <<<"$(e2e_layout Kopirovani NovyAdresar)"
e2e_click $((cx + nx + 20)) $((cy + ny + 15))
[ -d "$HOME/Miny" ] || fail "no new folder"
read -r kx ky <<<"$(e2e_layout Kopirovani Kopiruj)"
e2e_click $((cx + kx + 20)) $((cy + ky + 15))
e2e_wait_closed "$copy"
e2e_wait_file "$HOME/Miny/miny.htm"
cmp -s "$HOME/Miny/navod.txt" "$KATALOG_CD/PROGRAMY/HRY/MINY/navod.txt" || fail "the copy differs"

# The catalogue's logo leads to the about pages.
content=$(e2e_region $description)
e2e_press Programy TovanaLogo 60 40
e2e_wait_change "$content" $description || fail "the logo did not show the about pages"

read -r qx qy <<<"$(e2e_layout Menu Quit)"
e2e_click $((E2E_X + qx + 10)) $((E2E_Y + qy + 10))
e2e_wait_exit 10 || fail "quit did not end the program"
echo "catalogue journey passed"
