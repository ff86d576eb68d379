#!/usr/bin/env bash
# Whole-process times of ondix-calc against its yardsticks, on this machine, in one run:
#  - "ondix-calc 4" against the same program built without the chart export (bench/calc_senza_grafico);
#  - "ondix-calc stati" on a year of hourly weather (8760 rows) and on 1,000,000 rows, end to end (process start,
#    reading, computing, writing to /dev/null), against PsychroLib's compute path alone on the same states, numbers
#    in memory, one core (bench_stati BM_psychrolib_calcolo); the batch with one thread and with all cores.
# Each time is the median of several runs, wall clock and processor time (user + system); on a machine busy with
# other work the processor time is the steadier of the two for the one-thread figures.
#   bench/calc.sh [BUILD_DIR] [RUNS]
set -euo pipefail
BUILD=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}
RUNS=${2:-101}
CALC=$BUILD/src/cli/ondix-calc
SENZA=$BUILD/bench/calc_senza_grafico
TEMPO=$BUILD/bench/tempo
for p in "$CALC" "$SENZA" "$TEMPO" "$BUILD/bench/meteo_csv" "$BUILD/bench/bench_stati"; do
  [ -x "$p" ] || { echo "missing $p: build first" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$BUILD/bench/meteo_csv" 8760 >"$tmp/anno.csv"
"$BUILD/bench/meteo_csv" 1000000 >"$tmp/milione.csv"

psychrolib() { # rows per second of PsychroLib's compute path on N rows (median of 3)
  "$BUILD/bench/bench_stati" --benchmark_filter="BM_psychrolib_calcolo/$1\$" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/^name,/ {for (i = 1; i <= NF; i++) if ($i == "items_per_second") c = i}
             c && $1 ~ /_median/ {print $c}'
}
# Rows per second from a row count and microseconds.
al_secondo() { awk -v n="$1" -v t="$2" 'BEGIN { printf "%.0f", n / (t / 1e6) }'; }
rapporto() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

read -r cw cc < <("$TEMPO" "$RUNS" "$CALC" 4)
read -r sw sc < <("$TEMPO" "$RUNS" "$SENZA" 4)
echo "ondix-calc 4, whole process, median of $RUNS (wall / processor):"
echo "  ondix-calc                       $cw / $cc us"
echo "  built without the chart export   $sw / $sc us"
echo "  ratio $(rapporto "$cw" "$sw") / $(rapporto "$cc" "$sc") (goal <= 1.5)"

threads=()
"$CALC" stati --help 2>/dev/null | grep -q -- '-j' && threads=(-j 1)
for caso in "anno 8760 21" "milione 1000000 3"; do
  read -r file righe volte <<<"$caso"
  p=$(psychrolib "$righe")
  read -r w1 c1 < <("$TEMPO" "$volte" "$CALC" stati "${threads[@]}" "$tmp/$file.csv")
  read -r wn cn < <("$TEMPO" "$volte" "$CALC" stati "$tmp/$file.csv")
  echo
  echo "stati, $righe rows end to end, median of $volte (wall / processor):"
  echo "  one thread     $w1 / $c1 us: $(al_secondo "$righe" "$w1") / $(al_secondo "$righe" "$c1") rows/s"
  echo "  default ($(nproc) cores) $wn / $cn us: $(al_secondo "$righe" "$wn") rows/s"
  echo "  PsychroLib compute path alone, one core: $(printf '%.0f' "$p") rows/s"
  echo "  one thread / PsychroLib: $(rapporto "$(al_secondo "$righe" "$w1")" "$p") wall," \
       "$(rapporto "$(al_secondo "$righe" "$c1")" "$p") processor"
  echo "  default / PsychroLib: $(rapporto "$(al_secondo "$righe" "$wn")" "$p") wall;" \
       "default / one thread: $(rapporto "$w1" "$wn") wall"
done
echo
echo "goals: 8760 rows default / PsychroLib >= 0.8; 1,000,000 rows default / PsychroLib >= 1.8 and default / one" \
     "thread >= 1.6 on two cores"
