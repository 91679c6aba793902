#!/bin/sh
# Obsazení disku: největší složky v domovském adresáři.
set -u
. "$(dirname "$0")/report.sh"
report_start "Obsazení disku"
{ df -h "$HOME" 2>/dev/null; } | report_section "Disk s domovským adresářem"
{ du -xsh "$HOME"/* "$HOME"/.[!.]* 2>/dev/null | sort -rh | head -n 20; } | report_section "Největší složky v $HOME"
report_show
