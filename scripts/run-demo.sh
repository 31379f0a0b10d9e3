#!/usr/bin/env bash
# Builds the client and the device simulator, starts the simulator on
# 127.0.0.1:2000 and the client with settings of its own (never the user's),
# pointed at the simulator with all nine channels enabled. Closing the client
# stops the simulator.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVEX_BUILD_DIR:-$root/build}"
port=2000

ORVEX_BUILD_DIR="$build" ORVEX_TARGETS="orvex-controller orvex-device-sim orvex-demo-settings" "$root/scripts/build.sh"

demo_home="$(mktemp -d -t orvex-demo.XXXXXX)"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$demo_home"
}
trap cleanup EXIT INT TERM

"$build/tools/demo-settings/orvex-demo-settings" "$demo_home/orvex/orvex-controller.ini" 127.0.0.1

"$build/tools/device-sim/orvex-device-sim" --port "$port" &
sim_pid=$!
sleep 0.5
if ! kill -0 "$sim_pid" 2>/dev/null; then
  echo "The device simulator could not start (is port $port in use?)." >&2
  exit 1
fi

run=()
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running the client under Xvfb (nothing will be visible)." >&2
  run=(xvfb-run -a -s "-screen 0 1600x1000x24")
fi
echo "Press 'DisConnected' in the client to connect to the simulator."
XDG_CONFIG_HOME="$demo_home" "${run[@]}" "$build/src/app/orvex-controller"
