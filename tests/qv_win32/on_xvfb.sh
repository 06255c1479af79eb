#!/bin/sh
# Runs a command with DISPLAY naming an X server of its own: Xvfb on a free
# display number it picks itself, no TCP listener, a screen of 1024 x 768 at
# 24 bits with a black root window. The server is stopped when the command
# ends; the exit status is the command's. Without Xvfb the tests are skipped
# (exit status 77).
#   on_xvfb.sh COMMAND ARGS...
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "skipped: Xvfb is missing (scripts/setup.sh installs it)" >&2
  exit 77
fi
dir=$(mktemp -d)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 -br 3>"$dir/display" 2>"$dir/log" &
server=$!
tries=0
until grep -q '^[0-9][0-9]*$' "$dir/display" 2>/dev/null; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$server" 2>/dev/null; then
    echo "Xvfb did not start:" >&2
    cat "$dir/log" >&2
    kill "$server" 2>/dev/null
    rm -rf "$dir"
    exit 1
  fi
  sleep 0.1
done
DISPLAY=":$(cat "$dir/display")" "$@"
status=$?
kill "$server"
wait "$server"
rm -rf "$dir"
exit "$status"
