#!/usr/bin/env bash
# The member window's searches on 100,000 members with SQLite and with
# PostgreSQL in one run: starts a throwaway server in the build folder, runs
# the benchmark with a register on it, and stops the server again.
# Arguments go to the benchmark (e.g. --benchmark_filter=NameSearch).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${LUNMARK_BUILD_DIR:-$root/build}"
folder="$build/bench-postgres"
"$root/scripts/test_postgres.sh" start "$folder"
trap '"$root/scripts/test_postgres.sh" stop "$folder"' EXIT
server="$(cat "$folder/server.url")"
psql "$server" -q -c "CREATE DATABASE lunmark_bench"
LUNMARK_BENCH_POSTGRESQL="${server/\/postgres\?//lunmark_bench?}" \
  QT_QPA_PLATFORM=offscreen "$build/bench/members/members_window_bench" "$@"
