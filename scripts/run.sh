#!/usr/bin/env bash
# Installs what Tarnwick needs, builds it and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DTARNWICK_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/tarnwick ]; then
  exec build/tarnwick "$@"
else
  exec build/tarnwick-cli stats examples/sample.rez
fi
