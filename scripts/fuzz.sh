#!/usr/bin/env bash
# Runs every fuzz target in BUILD_DIR for SECONDS each, from its seed corpus.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS
# A target writes its own seeds and exits when TARNWICK_WRITE_SEEDS names a folder.
set -euo pipefail
build="$(cd "$1" && pwd)"; seconds="$2"
cd "$(dirname "$0")/.."
shopt -s nullglob
for src in tests/fuzz/*.cpp; do
  name="$(basename "$src" .cpp)"
  bin="$build/tests/$name"
  corpus="$build/corpus/$name"
  log="$build/fuzz-$name.log"
  mkdir -p "$corpus" "$build/fuzz-artifacts"
  TARNWICK_WRITE_SEEDS="$corpus" "$bin" >/dev/null 2>&1
  echo "-- $name for ${seconds}s"
  if ! ASAN_OPTIONS="detect_leaks=1" "$bin" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="$build/fuzz-artifacts/" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
    tail -60 "$log"
    echo "fuzz target $name failed" >&2
    exit 1
  fi
  grep -E 'stat::number_of_executed_units' "$log" || true
done
