#!/usr/bin/env bash
# Sets up the PDF print queues the printing tests use on a local CUPS:
# VornakPDF1 (the default when there is none), VornakPDF2, and VornakRefuses,
# which refuses every job. Needs root; elsewhere it does nothing and those
# tests skip.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exit 0
command -v lpadmin >/dev/null && command -v cupsd >/dev/null || exit 0
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || exit 0
# lpstat -r exits 0 whether or not the scheduler runs: read what it says
running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q "^scheduler is running"; }
if ! running; then
  cupsd
  for _ in $(seq 100); do running && break; sleep 0.1; done
  running || { echo "print-queues: CUPS did not start; the printing tests will skip" >&2; exit 0; }
fi
for queue in VornakPDF1 VornakPDF2 VornakRefuses; do
  lpstat -p "$queue" >/dev/null 2>&1 || lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -E 2>/dev/null
  cupsenable "$queue"
  cupsaccept "$queue"
done
cupsreject VornakRefuses
lpstat -d 2>/dev/null | grep -q "system default destination" || lpadmin -d VornakPDF1
