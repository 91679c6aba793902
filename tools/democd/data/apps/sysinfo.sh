#!/bin/sh
# Systémové informace: přehled počítače v okně prohlížeče.
set -u
. "$(dirname "$0")/report.sh"
report_start "Systémové informace"
{ uname -srmo 2>/dev/null || uname -a; } | report_section "Operační systém"
{ grep -m1 'model name' /proc/cpuinfo 2>/dev/null | cut -d: -f2; echo "Jader: $(nproc 2>/dev/null || echo ?)"; } | report_section "Procesor"
{ free -h 2>/dev/null || cat /proc/meminfo; } | report_section "Paměť"
{ uptime 2>/dev/null; } | report_section "Doba běhu"
{ df -h -x tmpfs -x devtmpfs 2>/dev/null || df -h; } | report_section "Disky"
report_show
