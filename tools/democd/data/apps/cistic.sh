#!/bin/sh
# Čistič disku: ukáže, co zabírá místo v mezipaměti a koši. Nic sám nemaže.
set -u
. "$(dirname "$0")/report.sh"
report_start "Čistič disku"
cache="${XDG_CACHE_HOME:-$HOME/.cache}"
trash="${XDG_DATA_HOME:-$HOME/.local/share}/Trash"
{ du -sh "$cache"/* 2>/dev/null | sort -rh | head -n 15; } | report_section "Mezipaměť ($cache)"
{ du -sh "$trash" 2>/dev/null || echo "Koš je prázdný."; } | report_section "Koš"
{ find "$HOME" -xdev -type f -size +100M -printf '%s\t%p\n' 2>/dev/null | sort -rn | head -n 10 | awk -F'\t' '{ printf "%8.1f MB  %s\n", $1 / 1048576, $2 }'; } | report_section "Soubory větší než 100 MB"
echo "Mezipaměť můžete bezpečně smazat; programy si ji vytvoří znovu." | report_section "Doporučení"
report_show
