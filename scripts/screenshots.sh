#!/usr/bin/env bash
# Builds the screenshot tool and draws the README's screenshots of the application into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLO_TESTS=OFF >/dev/null
cmake --build build/release --target quillo-screenshots
build/release/tools/screenshots/quillo-screenshots docs/screenshots
