#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test with ctest
# (the QV tests run twice: plain and under AddressSanitizer + UBSan).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
build="${LUNMARK_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"
# The tests start and stop their own PostgreSQL servers; ones left by an
# interrupted run go too.
stop_servers() {
  for folder in "$build/postgres" "$build/postgres-en_US"; do
    "$root/scripts/test_postgres.sh" stop "$folder" >/dev/null 2>&1 || true
  done
}
trap stop_servers EXIT
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300 "$@"
