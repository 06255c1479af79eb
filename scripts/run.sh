#!/usr/bin/env bash
# Installs what is needed, builds Lunmark and starts it in the current working
# directory. A new, empty database is made here when none exists yet.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
build="${LUNMARK_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target lunmark
exec "$build/lunmark" --create-database "$@"
