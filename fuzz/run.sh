#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in build-fuzz/ and
# runs each for a bounded time over its seed corpus (fuzz/corpus/NAME). A crash, a failed check, a leak or a hang
# (one input running over 10 s) fails the run; the input that caused it is left in build-fuzz/ as
# fuzz_NAME-crash-..., fuzz_NAME-leak-... or fuzz_NAME-timeout-..., and `build-fuzz/fuzz/fuzz_NAME FILE` replays it.
# New inputs found on the way go to a temporary directory: the seed corpus in the repository is not changed.
# Usage: fuzz/run.sh [SECONDS_PER_TARGET]   (default 20)
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
secondi=${1:-20}
install_packages "${FUZZ_PACKAGES[@]}"

DIR=${ONDIX_FUZZ_DIR:-$ROOT/build-fuzz}
werror=OFF; [ "${CI:-}" = true ] && werror=ON
cmake -S "$ROOT" -B "$DIR" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DONDIX_FUZZ=ON -DONDIX_GUI=OFF \
  -DONDIX_BENCH=OFF -DONDIX_WERROR=$werror >/dev/null
cmake --build "$DIR" --target fuzz_tutti --parallel "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
passati=0
falliti=0
for corpus in "$ROOT"/fuzz/corpus/*/; do
  nome=$(basename "$corpus")
  programma="$DIR/fuzz/fuzz_$nome"
  if [ ! -x "$programma" ]; then
    echo "fuzz $nome: not built (the code it checks is missing), skipped"
    continue
  fi
  lavoro=$(mktemp -d)
  registro="$DIR/fuzz_$nome.log"
  if "$programma" -max_total_time="$secondi" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$DIR/fuzz_$nome-" "$lavoro" "$corpus" >"$registro" 2>&1; then
    esecuzioni=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro")
    echo "fuzz $nome: ${esecuzioni:-?} runs in $secondi s, no crash, hang or leak"
    passati=$((passati + 1))
  else
    echo "fuzz $nome: FAILED (full log in $registro)"
    tail -n 40 "$registro"
    falliti=$((falliti + 1))
  fi
  rm -rf "$lavoro"
done
echo "fuzz: $passati passed, $falliti failed"
[ "$falliti" -eq 0 ]
