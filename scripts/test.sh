#!/usr/bin/env bash
# Installs what Tarnwick needs, then builds and runs every test:
# the normal build, the AddressSanitizer+UBSan build, and short fuzz runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
jobs="$(nproc)"
root="$PWD"

echo "== build and test (normal)"
cmake -S . -B build >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== build and test (ASan+UBSan)"
cmake -S . -B build-asan -DTARNWICK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== fuzz (short runs)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTARNWICK_FUZZ=ON -DTARNWICK_GUI=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$jobs"
scripts/fuzz.sh build-fuzz "${TARNWICK_FUZZ_SECONDS:-30}"
echo "== all tests passed"
