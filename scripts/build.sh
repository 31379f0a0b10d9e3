#!/usr/bin/env bash
# Configures and builds the project into build/ (or $ORVEX_BUILD_DIR).
# Extra arguments go to cmake's configure step.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVEX_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j2
