#!/usr/bin/env bash
# Builds everything (warnings as errors), runs a bounded fuzz run of the .log
# reader, then every test headless.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVEX_BUILD_DIR:-$root/build}"
export ORVEX_BUILD_DIR="$build"
"$root/scripts/build.sh" -DORVEX_WERROR=ON -DORVEX_BUILD_TESTS=ON

# About 30 s of the .log reader's fuzzer (clang with sanitizers); its full
# output stays in the build folder unless it finds something.
fuzz_log="$build/fuzz-log-reader.txt"
if ! "$root/scripts/fuzz-log-reader.sh" 30 >"$fuzz_log" 2>&1; then
  cat "$fuzz_log"
  echo "The .log reader's fuzzer failed; the input is in fuzz-artifacts/." >&2
  exit 1
fi
grep -E '^Done [0-9]+ runs' "$fuzz_log" | sed 's/^/fuzz: /'

# A C-library locale with a decimal comma, of the build's own, so that the tests
# can check that number parsing does not follow the process locale.
mkdir -p "$build/locale"
localedef -i de_DE -f UTF-8 "$build/locale/de_DE.UTF-8" 2>/dev/null || true
export LOCPATH="$build/locale"

export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 --timeout 300
