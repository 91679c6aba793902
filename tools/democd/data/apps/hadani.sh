#!/bin/sh
# Hádání čísel: hra do terminálu. Spuštěna bez terminálu si jej otevře sama.
set -u
if [ ! -t 0 ]; then
    for term in x-terminal-emulator xterm gnome-terminal konsole xfce4-terminal; do
        if command -v "$term" > /dev/null 2>&1; then
            exec "$term" -e sh "$0"
        fi
    done
    echo "Hra potřebuje terminál. Spusťte ji příkazem: sh $0" >&2
    exit 1
fi
cislo=$(( $(od -An -N2 -tu2 /dev/urandom | tr -d ' ') % 100 + 1 ))
pokus=0
echo "Myslím si číslo od 1 do 100. Zkus ho uhodnout!"
while :; do
    printf 'Tvůj tip: '
    read -r tip || exit 0
    case "$tip" in
        ''|*[!0-9]*) echo "Napiš prosím číslo."; continue ;;
    esac
    pokus=$((pokus + 1))
    if [ "$tip" -lt "$cislo" ]; then
        echo "Moje číslo je větší."
    elif [ "$tip" -gt "$cislo" ]; then
        echo "Moje číslo je menší."
    else
        echo "Uhodl jsi na $pokus. pokus!"
        printf 'Stiskni Enter pro konec.'
        read -r _ || true
        exit 0
    fi
done
