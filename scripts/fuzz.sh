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
# The fuzzing engine comes with clang; the test command does not need it.
installed=$(dpkg-query -W -f='${Status}\n' clang libclang-rt-14-dev 2>/dev/null |
  grep -c "install ok installed" || true)
if [ "$installed" -ne 2 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    clang libclang-rt-14-dev >/dev/null
fi
build="${LUNMARK_FUZZ_BUILD_DIR:-$root/build-fuzz}"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUNMARK_FUZZ_ENGINE=ON -DLUNMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "fuzz_$name"
work="$build/corpus/$name"
mkdir -p "$work" "$build/crashes"
export QT_QPA_PLATFORM=offscreen
exec "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -artifact_prefix="$build/crashes/$name-" \
  "$work" "$root/fuzz/$name/corpus"
