#!/usr/bin/env bash
# Runs a real fuzzing session on one harness: scripts/fuzz.sh NAME [SECONDS]
# (default 60). Builds the harnesses with clang's libFuzzer in build-fuzz/,
# fuzzes from a working copy of fuzz/NAME/corpus, and leaves any crashing
# input in build-fuzz/crashes/. Add each crash to the corpus with its fix.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
name="${1:?usage: scripts/fuzz.sh NAME [SECONDS]}"
seconds="${2:-60}"
"$root/scripts/setup.sh"
build="${LUNMARK_FUZZ_BUILD_DIR:-$root/build-fuzz}"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUNMARK_FUZZ_ENGINE=ON -DLUNMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "fuzz_$name"
work="$build/corpus/$name"
mkdir -p "$work" "$build/crashes"
export QT_QPA_PLATFORM=offscreen
exec "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -artifact_prefix="$build/crashes/$name-" \
  "$work" "$root/fuzz/$name/corpus"
