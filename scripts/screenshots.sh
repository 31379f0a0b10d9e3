#!/usr/bin/env bash
# Takes the screenshots under docs/ from the real program: the client runs
# under Xvfb against the device simulator, driven by xdotool as a user would.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVEX_BUILD_DIR:-$root/build}"
if [ -z "${ORVEX_IN_XVFB:-}" ]; then
  command -v xdotool >/dev/null || { echo "screenshots need xdotool (apt-get install xdotool)" >&2; exit 1; }
  ORVEX_BUILD_DIR="$build" ORVEX_TARGETS="orvex-controller orvex-device-sim orvex-demo-settings" \
    "$root/scripts/build.sh"
  ORVEX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

work="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work"
"$build/tools/demo-settings/orvex-demo-settings" "$work/orvex/orvex-controller.ini" 127.0.0.1
"$build/tools/device-sim/orvex-device-sim" --port 2000 --rate 2 --start-hour 11 >/dev/null &
pids+=($!)
"$build/src/app/orvex-controller" >/dev/null 2>&1 &
pids+=($!)

window() { xdotool search --sync --onlyvisible --name "$1" | head -1; }
main=$(window "Orvex controller v2")
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep "${3:-0.5}"; }
shoot() { import -window "$1" "$root/docs/$2"; echo "docs/$2"; }

click 829 32 13       # Connect, then two log intervals of live values
shoot "$main" main-measure.png
click 133 78          # "Input/Output"
click 73 147          # Din1
click 893 147 2       # Din3
shoot "$main" main-io.png
click 224 78          # "Log file"
shoot "$main" main-log.png
click 39 78           # "Measure"
click 1026 776        # "Measure  Settings"
shoot "$(window "Measure settings")" measure-settings.png
click 292 32          # Setup
shoot "$(window "^Setup$")" setup-window.png
