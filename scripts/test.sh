#!/usr/bin/env bash
# Installs what is missing, builds every module and test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the tests. Extra arguments go to ctest (for example -L foundation).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
jobs=$(nproc)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLO_SANITIZE=ON -DQUILLO_TESTS=ON >/dev/null
cmake --build build/test -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build/test && ctest --output-on-failure -j "$jobs" "$@"
