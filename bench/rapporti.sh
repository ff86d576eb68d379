#!/usr/bin/env bash
# The speed ratios of the property functions, the solvers and the batch text against their yardsticks, from one
# run of each benchmark program (processor time, median of 5): the bare correlations of bench/kernels.h over the
# grid t -10...50 C by 1, ur 5...100 % by 5 and its dry and cold corners, and the number text of std::to_chars.
# bench/calc.sh gives the whole-process figures, bench/startup.sh the start-up.
#   bench/rapporti.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
for b in bench_core bench_stati; do
  filtro=-BM_verifica; [ "$b" = bench_stati ] && filtro=riga
  "$BUILD/bench/$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_format=csv \
    --benchmark_filter="$filtro" 2>/dev/null | awk -F, 'NR > 1 && $1 ~ /_median"?$/ {
      n = $1; gsub(/"/, "", n); sub(/_median$/, "", n); print n, $4 }' >>"$tmp"
done
valore() { awk -v n="$1" '$1 == n {print $2}' "$tmp"; }
riga() { # description, benchmark, yardstick, goal
  local a b
  a=$(valore "$2"); b=$(valore "$3")
  [ -n "$a" ] && [ -n "$b" ] || { echo "$1: not measured"; return; }
  awk -v d="$1" -v a="$a" -v b="$b" -v g="$4" 'BEGIN { printf "%-44s %10.1f / %10.1f ns = %5.2f  %s\n", d, a, b, a / b, g }'
}
riga "saturation pressure" BM_pressione_saturazione BM_kernel_pressione_saturazione ""
riga "humidity ratio" BM_umidita_specifica BM_kernel_umidita_specifica ""
riga "specific volume" BM_volume_specifico BM_kernel_volume_specifico ""
riga "dew point, grid (1220 states)" BM_griglia_rugiada BM_griglia_kernel_rugiada "(goal <= 0.25)"
riga "wet bulb, grid (1220 states)" BM_griglia_bulbo_umido BM_griglia_kernel_bulbo_umido "(goal <= 0.30)"
riga "dew point, dry air -10...0 C (capped)" BM_secca_rugiada BM_secca_kernel_rugiada ""
riga "wet bulb, air at -10...-9 C (capped)" BM_limite_bulbo_umido BM_limite_kernel_bulbo_umido ""
riga "batch line of text / std::to_chars" BM_aggiungi_riga_stati BM_riga_stati_to_chars "(goal <= 0.5)"
# The shortened searches against the plain ones on a million states.
"$BUILD/bench/bench_core" --benchmark_filter=BM_verifica 2>/dev/null |
  awk '/BM_verifica/ { print "searches checked bit for bit against the plain ones:", ($0 ~ /ERROR/ ? $0 : $NF " " $(NF-1)) }'
