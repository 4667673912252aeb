#!/usr/bin/env bash
# Draws the pictures of the drawing tests anew and keeps them as their goldens, for a change to the drawings
# that is intended. Look at the pictures that changed (git status) before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLO_SANITIZE=ON -DQUILLO_TESTS=ON >/dev/null
cmake --build build/test --target test_render -j3
(cd tests/platform/render && QUILLO_UPDATE_SNAPSHOTS=1 ../../../build/test/tests/platform/render/test_render)
git status --short tests/platform/render/fixtures/snapshots
