#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test
# headless: once in build/, once more built with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/.
set -uo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh || exit 1
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

status=0
echo "== build/ =="
./scripts/configure.sh build && cmake --build build -j "$jobs" || exit 1
ctest --test-dir build --output-on-failure -j "$jobs" || status=1

echo "== build-asan/ (AddressSanitizer, UndefinedBehaviorSanitizer, LeakSanitizer) =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
./scripts/configure.sh build-asan -DQM_SANITIZE=ON -DQM_BUILD_BENCH=OFF && cmake --build build-asan -j "$jobs" || exit 1
ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1

echo "== fuzz smoke run (libFuzzer, clang) =="
./scripts/fuzz.sh --smoke || status=1

if [ "$status" -eq 0 ]; then echo "All tests passed."; else echo "Some tests FAILED."; fi
exit "$status"
