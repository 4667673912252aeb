#!/usr/bin/env bash
# Builds the benchmarks (optimised, no sanitizers) and runs the one named, or all of them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLO_TESTS=OFF -DQUILLO_BENCHMARKS=ON >/dev/null
cmake --build build/bench
for b in build/bench/bench/*/bench_*; do
  if [ $# -eq 0 ] || [[ "$b" == *"$1"* ]]; then "$b"; fi
done
