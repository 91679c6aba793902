#!/bin/sh
# Síťové informace: adresy, směrování a jmenné servery.
set -u
. "$(dirname "$0")/report.sh"
report_start "Síťové informace"
{ hostname 2>/dev/null || cat /etc/hostname; } | report_section "Jméno počítače"
{ ip -brief address 2>/dev/null || ifconfig 2>/dev/null || cat /proc/net/dev; } | report_section "Síťová rozhraní"
{ ip route 2>/dev/null || route -n 2>/dev/null || cat /proc/net/route; } | report_section "Směrování"
{ grep -v '^#' /etc/resolv.conf 2>/dev/null; } | report_section "Jmenné servery"
report_show
