#!/usr/bin/env bash
# Builds everything (warnings as errors) and runs every test headless.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVEX_BUILD_DIR:-$root/build}"
export ORVEX_BUILD_DIR="$build"
"$root/scripts/build.sh" -DORVEX_WERROR=ON -DORVEX_BUILD_TESTS=ON
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 --timeout 300
