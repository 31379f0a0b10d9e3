#!/usr/bin/env bash
# Configures and builds the project into build/ (or $ORVEX_BUILD_DIR).
# Arguments go to cmake's configure step; ORVEX_TARGETS limits what is built.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVEX_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
targets=()
for t in ${ORVEX_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j2 "${targets[@]}"
