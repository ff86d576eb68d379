#!/usr/bin/env bash
# Start-up time of the desktop program, from launch to the main window's first paint, against an empty Qt window
# on the same machine, the same window holding one line of text, and the same window holding thirteen plain buttons
# like the menu's. Runs under its own Xvfb at 1024 x 768.
#   bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
BUILD=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}
RUNS=${2:-21}
ONDIX=$BUILD/src/app/ondix
VUOTA=$BUILD/bench/startup_vuota
for p in "$ONDIX" "$VUOTA"; do [ -x "$p" ] || { echo "missing $p: build first" >&2; exit 1; }; done

if [ -z "${ONDIX_DENTRO_XVFB:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" env ONDIX_DENTRO_XVFB=1 "$0" "$BUILD" "$RUNS"
fi

# Milliseconds from launch to first paint, one line per run, the two programs alternating so that any drift of the
# machine affects both alike; one warm-up run each is discarded.
misura() { ONDIX_MISURA_AVVIO=$(date +%s%N) "$1" 2>/dev/null; }
misura "$ONDIX" >/dev/null
misura "$VUOTA" >/dev/null
a=() v=() t=() p=()
for ((i = 0; i < RUNS; i++)); do
  a+=("$(misura "$ONDIX")")
  p+=("$(ONDIX_VUOTA_PULSANTI=1 misura "$VUOTA")")
  v+=("$(misura "$VUOTA")")
  t+=("$(ONDIX_VUOTA_TESTO=1 misura "$VUOTA")")
done
mediana() { printf '%s\n' "$@" | sort -g | awk '{x[NR]=$1} END {print (NR % 2) ? x[(NR+1)/2] : (x[NR/2]+x[NR/2+1])/2}'; }
ma=$(mediana "${a[@]}")
mv=$(mediana "${v[@]}")
mt=$(mediana "${t[@]}")
mp=$(mediana "${p[@]}")
# The ratio of each run of ondix to the run of the window with buttons made just after it, paired.
mr=$(mediana $(for ((i = 0; i < RUNS; i++)); do awk -v a="${a[$i]}" -v p="${p[$i]}" 'BEGIN { print a / p }'; done))
echo "runs: $RUNS"
echo "ondix, launch to first paint (median ms):  $ma"
echo "empty Qt window (median ms):               $mv"
echo "empty Qt window with one text (median ms): $mt"
echo "empty Qt window with 13 buttons (median ms): $mp"
awk -v a="$ma" -v v="$mv" -v t="$mt" -v p="$mp" 'BEGIN { printf "ratio to the empty window: %.2f, to the window with text: %.2f, to the window with 13 buttons: %.2f\n", a / v, a / t, a / p }'
printf 'median of the paired ratios to the window with 13 buttons: %.2f (goal <= 1.15)\n' "$mr"
