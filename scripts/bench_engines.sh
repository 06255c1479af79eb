#!/usr/bin/env bash
# SQLite beside PostgreSQL in one run: the member window's searches on
# 100,000 members, then the spreadsheet import of 100,000 members. Starts a
# throwaway server in the build folder for them and stops it again.
# Arguments go to the window benchmark (e.g. --benchmark_filter=NameSearch).
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
"$build/bench/db/db_server_import_bench" "$server"
