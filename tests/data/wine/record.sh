#!/usr/bin/env bash
# Records what Wine itself reads, maps, expands and hands to Windows programs, so that the
# unit tests can check katalog against it without Wine. Needs wine (64-bit) and mingw-w64;
# neither is needed to build or test katalog. Run it from anywhere:
#   tests/data/wine/record.sh
# It makes a fresh prefix in a temporary folder, installs a few programs the way Windows
# installers do (folders, `wine reg add` native and /reg:32, HKEY_CURRENT_USER, Start Menu
# shortcuts, short 8.3 names from GetShortPathNameW), and writes beside itself:
#   system.reg user.reg userdef.reg  the prefix's registry (system.reg cut to the keys katalog reads)
#   tree.txt      the folders and files the programs consist of, relative to drive_c
#   dir-x.txt     `dir /x` of the folders on those paths: the short names Wine gives
#   expected.txt  what Wine printed: reg query values, expanded values, winepath mappings,
#                 the environment and the command lines that reached the program
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
x86_64-w64-mingw32-gcc -municode -mwindows -O2 -Wall -o "$work/cmdline.exe" "$here/cmdline.c"
wineboot -i >/dev/null 2>&1
wineserver -w
c="$WINEPREFIX/drive_c"
user=$(id -un)

# ---- the programs, as their installers leave them ----------------------------------------
files=(
  "Program Files/Čtečka knih/ctecka.exe"
  "Program Files/Čtečka knih/uninst.exe"
  "Program Files/Čtečka knih/README.TXT"
  "Program Files/Čtečka knih/Read.Me.First.txt"
  "Program Files/Čtečka knih/data+save [1].bin"
  "Program Files/Čtečka knih/.config"
  "Program Files/Čtečka knih/a.b.c"
  "Program Files/Čtečka knih/readme.text"
  "Program Files/Čtečka knih/ab"
  "Program Files (x86)/Stary/stary.exe"
  "Program Files (x86)/Stary/Uninst.exe"
  "Program Files (x86)/Stary/Uninst.isu"
  "Program Files (x86)/KNIHY~1/knihy.exe"
  "Program Files (x86)/Knihovna 2/knihovna.exe"
  "users/$user/AppData/Local/Programs/Zápisník/zapisnik.exe"
  "users/$user/AppData/Local/Programs/Zápisník/uninst.exe"
  "users/$user/AppData/Roaming/MsiProg/msiprog.exe"
  "ProgramData/Microsoft/Windows/Start Menu/Programs/Kalkulačka/Kalkulačka.lnk"
  "users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kalkulačka/Odinstalovat Kalkulačku.lnk"
)
for f in "${files[@]}"; do
  mkdir -p "$c/$(dirname "$f")"
  : > "$c/$f"
done
cp "$work/cmdline.exe" "$c/Program Files (x86)/Stary/Uninst.exe"
tool='C:\Program Files (x86)\Stary\Uninst.exe'

# The short path of a long one, as GetShortPathNameW gives it to an installer.
short() {
  rm -f "$work/out.txt"
  SHORT_PATH_OF="$1" CMDLINE_OUT='Z:'"${work//\//\\}"'\out.txt' wine "$tool" >/dev/null 2>&1
  wineserver -w
  tr -d '\n' < "$work/out.txt"
}

reg() { wine reg add "$@" /f >/dev/null; }
lm='HKLM\Software\Microsoft\Windows\CurrentVersion'
cu='HKCU\Software\Microsoft\Windows\CurrentVersion'

ctecka=$(short 'C:\Program Files\Čtečka knih\ctecka.exe')
ctecka_un=$(short 'C:\Program Files\Čtečka knih\uninst.exe')
reg "$lm\App Paths\ctecka.exe" /ve /d "$ctecka"
reg "$lm\Uninstall\Čtečka knih 📚" /v DisplayName /d "Čtečka knih 📚"
reg "$lm\Uninstall\Čtečka knih 📚" /v UninstallString /d "$ctecka_un /S"

# App Paths is one key for 32- and 64-bit programs; Uninstall has a 32-bit view of its own.
reg "$lm\App Paths\stary.exe" /ve /t REG_EXPAND_SZ /d '%ProgramFiles(x86)%\Stary\stary.exe' /reg:32
reg "$lm\Uninstall\Stary [1.0] v.2" /v UninstallString \
  /d '"C:\Program Files (x86)\Stary\Uninst.exe" -f"C:\Program Files (x86)\Stary\Uninst.isu"' /reg:32

reg "$lm\App Paths\knihy.exe" /ve /d 'C:\PROGRA~2\KNIHY~1\knihy.exe' /reg:32
reg "$lm\App Paths\knihovna.exe" /ve /d 'C:\PROGRA~2\KNIHOV~1\knihovna.exe' /reg:32
reg "$lm\Uninstall\Knihovna" /v UninstallString /d 'C:\PROGRA~2\KNIHOV~1\knihovna.exe /uninstall "C:\x y"' /reg:32

reg "$cu\App Paths\zapisnik.exe" /ve /t REG_EXPAND_SZ /d '%LOCALAPPDATA%\Programs\Zápisník\zapisnik.exe'
reg "$cu\Uninstall\Zapisnik" /v UninstallString /t REG_EXPAND_SZ \
  /d '"%LOCALAPPDATA%\Programs\Zápisník\uninst.exe" /currentuser'

reg "$lm\App Paths\msiprog.exe" /ve /t REG_EXPAND_SZ /d '%APPDATA%\MsiProg\msiprog.exe'
reg "$lm\Uninstall\{8F3B2A10-5C4D-4E6F-9A7B-1C2D3E4F5A6B}" /v UninstallString \
  /d 'MsiExec.exe /X{8F3B2A10-5C4D-4E6F-9A7B-1C2D3E4F5A6B}'
wineserver -w

# ---- what Wine prints ---------------------------------------------------------------------
exp="$here/expected.txt"
{
  echo "# Recorded by record.sh with $(wine --version) as user $user; one fact a line, fields split by tabs."
  echo "# value  ROOT\\key  name  type  text            (wine reg query)"
  echo "# expand  text  expanded                       (wine cmd /c echo)"
  echo "# path  windows path  path below the prefix    (winepath -u)"
  echo "# env  name  value                             (wine cmd /c set)"
  echo "# cmdline  registry line  handed  received     (GetCommandLineW of the program)"
} > "$exp"

# A value as `wine reg export` writes it (reg query prints in the OEM code page, which
# loses Czech letters).
query() {  # root\key, value name ("" for the default value), reg options
  rm -f "$c/export.reg"
  wine reg export "$1" 'C:\export.reg' "${@:3}" /y >/dev/null 2>&1
  python3 - "$c/export.reg" "$1" "$2" <<'PY'
import re, sys
text = open(sys.argv[1], 'rb').read().decode('utf-16').replace('\r', '').replace('\\\n  ', '')
want = '@' if sys.argv[3] == '' else '"' + sys.argv[3].replace('\\', '\\\\').replace('"', '\\"') + '"'
for line in text.split('\n'):
    if not line.lower().startswith(want.lower() + '='):
        continue
    data = line[len(want) + 1:]
    if data.startswith('"'):
        kind, value = 'REG_SZ', re.sub(r'\\(.)', r'\1', data[1:-1])
    elif data.startswith('hex(2):'):
        raw = bytes(int(b, 16) for b in data[7:].split(','))
        kind, value = 'REG_EXPAND_SZ', raw.decode('utf-16-le').rstrip('\0')
    else:
        continue
    print('value\t%s\t%s\t%s\t%s' % (sys.argv[2], sys.argv[3], kind, value))
PY
}
{
  query "$lm\App Paths\ctecka.exe" ""
  query "$lm\Uninstall\Čtečka knih 📚" DisplayName
  query "$lm\Uninstall\Čtečka knih 📚" UninstallString
  query "$lm\App Paths\stary.exe" "" /reg:32
  query "$lm\Uninstall\Stary [1.0] v.2" UninstallString /reg:32
  query "$lm\App Paths\knihy.exe" "" /reg:32
  query "$lm\App Paths\knihovna.exe" "" /reg:32
  query "$lm\Uninstall\Knihovna" UninstallString /reg:32
  query "$cu\App Paths\zapisnik.exe" ""
  query "$cu\Uninstall\Zapisnik" UninstallString
  query "$lm\App Paths\msiprog.exe" ""
  query "$lm\Uninstall\{8F3B2A10-5C4D-4E6F-9A7B-1C2D3E4F5A6B}" UninstallString
  query 'HKU\.Default\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' 'Start Menu'
  query "$cu\Explorer\Shell Folders" 'Start Menu'
  query "$lm\Explorer\Shell Folders" 'Common Start Menu'
} >> "$exp"
rm -f "$c/export.reg"

# REG_EXPAND_SZ values as a (64-bit) program expands them; a 32-bit one would see
# %ProgramFiles(x86)% as its %ProgramFiles%.
expand() {
  printf 'expand\t%s\t%s\n' "$1" "$(V="$1" wine cmd /u /c echo %V% | iconv -f UTF-16LE -t UTF-8 | tr -d '\r\n')"
}
{
  expand '%ProgramFiles(x86)%\Stary\stary.exe'
  expand '%LOCALAPPDATA%\Programs\Zápisník\zapisnik.exe'
  expand '"%LOCALAPPDATA%\Programs\Zápisník\uninst.exe" /currentuser'
  expand '%APPDATA%\MsiProg\msiprog.exe'
  expand '%USERPROFILE%'
} >> "$exp"

path() {
  local unix
  unix=$(wine winepath -u "$1" 2>/dev/null | tr -d '\r\n')
  printf 'path\t%s\t%s\n' "$1" "${unix#"$WINEPREFIX/"}"
}
{
  path "$ctecka"
  path "$ctecka_un"
  path 'C:\Program Files (x86)\Stary\Uninst.exe'
  path 'C:\Program Files (x86)\Stary\stary.exe'
  path 'C:\Program Files (x86)\Knihovna 2\knihovna.exe'
  path "C:\\users\\$user\\AppData\\Local\\Programs\\Zápisník\\zapisnik.exe"
  path 'C:\PROGRA~2\KNIHY~1\knihy.exe'
  path "C:\\users\\$user\\AppData\\Local\\Programs\\Zápisník\\uninst.exe"
  path "C:\\users\\$user\\AppData\\Roaming\\MsiProg\\msiprog.exe"
  path 'C:\ProgramData\Microsoft\Windows\Start Menu'
  path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Kalkulačka\Kalkulačka.lnk'
  path "C:\\users\\$user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Kalkulačka\\Odinstalovat Kalkulačku.lnk"
  path "C:\\users\\$user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"
  path 'C:\windows\system32\msiexec.exe'
} >> "$exp"

wine cmd /u /c set | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' |
  grep -E '^(ALLUSERSPROFILE|APPDATA|CommonProgram|LOCALAPPDATA|ProgramData|ProgramFiles|ProgramW6432|PUBLIC|SystemDrive|SystemRoot|USERPROFILE|windir|WINEUSERNAME)' |
  sed 's/=/\t/' | sed 's/^/env\t/' >> "$exp"

# The uninstall line reaches the program as the registry holds it: katalog hands Wine's cmd
# the line in an environment variable, so that no Unix argument is quoted again on the way.
# Beside it, the old way (the line split into Unix arguments) for comparison.
line='"C:\Program Files (x86)\Stary\Uninst.exe" -f"C:\Program Files (x86)\Stary\Uninst.isu"'
proof() {  # registry line, the line handed, how
  rm -f "$work/out.txt"
  (cd "$c/Program Files (x86)/Stary" &&
   CMDLINE_OUT='Z:'"${work//\//\\}"'\out.txt' "${@:3}" >/dev/null 2>&1)
  wineserver -w
  printf 'cmdline\t%s\t%s\t%s\n' "$1" "$2" "$(tr -d '\n' < "$work/out.txt")"
}
{
  for handed in "$line" \
      '"C:\Program Files (x86)\Stary\Uninst.exe" /S -f"C:\Program Files (x86)\Stary\Uninst.isu" a&b "c d" Čeština'; do
    proof "$handed" "$handed" env KATALOG_COMMAND_LINE="$handed" wine cmd /c %KATALOG_COMMAND_LINE%
  done
  proof "$line" "start /unix" wine start /unix "$c/Program Files (x86)/Stary/Uninst.exe" \
    '-fC:\Program Files (x86)\Stary\Uninst.isu'
} >> "$exp"

# ---- the prefix's files -------------------------------------------------------------------
printf '%s\n' "${files[@]}" > "$here/tree.txt"
: > "$here/dir-x.txt"
for d in "" "Program Files" "Program Files/Čtečka knih" "Program Files (x86)" "users" "users/$user/AppData/Local/Programs" \
         "ProgramData/Microsoft/Windows/Start Menu/Programs"; do
  echo "== C:\\${d//\//\\}" >> "$here/dir-x.txt"
  (cd "$c/$d" && wine cmd /u /c dir /x /a) | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' |
    grep -E '^ *[0-9]+/' >> "$here/dir-x.txt"
done

cp "$WINEPREFIX/user.reg" "$WINEPREFIX/userdef.reg" "$here/"
# system.reg is large; keep its header and the keys katalog reads.
KEEP='[Software\\Microsoft\\Windows\\CurrentVersion]
[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths
[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall
[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]
[Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList
[Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion]
[Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths
[Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall
[System\\CurrentControlSet\\Control\\Session Manager\\Environment]' awk '
  BEGIN { n = split(ENVIRON["KEEP"], keep, "\n") }
  /^\[/ { seen = 1; on = 0; for (i = 1; i <= n; i++) if (index($0, keep[i]) == 1) on = 1 }
  !seen || on { print }
' "$WINEPREFIX/system.reg" > "$here/system.reg"
echo "recorded into $here"
