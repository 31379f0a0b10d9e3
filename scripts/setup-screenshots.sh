#!/usr/bin/env bash
# Pictures of the setup window and its port settings dialog, taken from the real
# widgets on a virtual display: docs/setup-window.png and docs/port-dialog.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVEX_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target setup_screenshots
mkdir -p "$root/docs"
xvfb-run -a -s "-screen 0 1600x1000x24" "$build/tests/provisioning/setup_screenshots" "$root/docs"
