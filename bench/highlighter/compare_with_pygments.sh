#!/usr/bin/env bash
# Builds the highlighter benchmark (Release) and compares it with Pygments on the same Swift file, in the
# same run: scripts/bench.sh's build, then bench/highlighter/compare_with_pygments.py.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-dependencies.sh python3-pygments
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLO_TESTS=OFF -DQUILLO_BENCHMARKS=ON >/dev/null
cmake --build build/bench --target bench_highlighter -j3
/usr/bin/python3 bench/highlighter/compare_with_pygments.py build/bench/bench/highlighter/bench_highlighter "$@"
