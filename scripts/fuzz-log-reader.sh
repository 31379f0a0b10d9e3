#!/usr/bin/env bash
# Fuzzes the .log reader: builds the libFuzzer target with clang (AddressSanitizer
# and UndefinedBehaviorSanitizer) in its own build folder, building nothing but
# the target and the reader, then runs it on a copy of fuzz/corpus.
# Usage: scripts/fuzz-log-reader.sh [seconds, default 30] [seed, default 1]
# A fixed seed makes the run repeatable; pass 0 for a fresh random one.
# A crash, hang or sanitizer report fails the run and leaves its input in
# fuzz-artifacts/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVEX_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-30}"
seed="${2:-1}"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVEX_BUILD_FUZZERS=ON -DORVEX_BUILD_TESTS=OFF -DORVEX_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target log_reader_fuzz

corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
cp "$root"/fuzz/corpus/* "$corpus"/
mkdir -p "$root/fuzz-artifacts"
"$build/fuzz/log_reader_fuzz" "$corpus" \
  -max_total_time="$seconds" -seed="$seed" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix="$root/fuzz-artifacts/"
