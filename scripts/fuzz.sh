#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs each on its seed corpus.
#   fuzz.sh --smoke        a few thousand inputs per target (part of the test command)
#   fuzz.sh [SECONDS]      every target for SECONDS (default 600); findings in build-fuzz/findings/
set -uo pipefail
cd "$(dirname "$0")/.."
mode=long
seconds=600
if [ "${1:-}" = "--smoke" ]; then mode=smoke; elif [ -n "${1:-}" ]; then seconds=$1; fi

CC=clang CXX=clang++ ./scripts/configure.sh build-fuzz -DQM_BUILD_FUZZ=ON || exit 1
cmake --build build-fuzz -j "$(nproc)" || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in build-fuzz/fuzz/fuzz_*; do
  # Only the fuzzers, not the folders the build keeps beside them.
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build-fuzz/corpus/$name
  findings=build-fuzz/findings/$name
  mkdir -p "$corpus" "$findings"
  cp -n fuzz/seeds/"${name#fuzz_}"/* "$corpus"/ 2>/dev/null || true
  if [ "$mode" = smoke ]; then
    args=(-runs=2500 -max_len=4096)
  else
    args=(-max_total_time="$seconds" -max_len=65536 -print_final_stats=1)
  fi
  echo "== $name"
  if ! "$target" "${args[@]}" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/" "$corpus" 2>build-fuzz/$name.log; then
    tail -40 build-fuzz/$name.log
    status=1
  else
    grep -E 'stat::number_of_executed_units|Done [0-9]+ runs|cov:' build-fuzz/$name.log | tail -2
  fi
done
exit "$status"
