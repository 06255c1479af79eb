#!/bin/sh
# Makes the Wine prefix of the qv.dll tests (once; it stays in the build
# folder): COM1 and COM2 are mapped to the links in PORTS_DIR that the device
# player points at its pseudo-terminals, and LPT1 to the same terminal as
# COM1. Wine maps the machine's own serial ports to the next free numbers;
# the tests use COM9 as a port without a device. Wine reads the mapping when
# its server starts, so the server is let to finish afterwards. The face a
# Traditional Chinese Windows offers as 新細明體 is AR PL UMing TW here, so
# that the screen tests can name a face in Big5.
#   prepare_prefix.sh PREFIX PORTS_DIR
# WINELOADER names the Wine loader (wine when unset). A machine whose kernel
# cannot run that loader (a 32-bit Wine on a kernel without 32-bit support)
# skips the tests: the exit status is then 77.
set -eu
prefix="$1"
ports="$2"
loader="${WINELOADER:-wine}"
command -v "$loader" >/dev/null || { echo "$loader is missing: run scripts/setup.sh" >&2; exit 1; }
status=0
"$loader" --version >/dev/null 2>&1 || status=$?
if [ "$status" -eq 126 ]; then
  echo "skipped: this machine cannot run $loader (its kernel refuses the program)" >&2
  exit 77
fi
mapping="COM1=$ports/com1 COM2=$ports/com2 LPT1=$ports/com1"
state="$mapping fonts=1"
if [ -f "$prefix/qv-ports" ] && [ "$(cat "$prefix/qv-ports")" = "$state" ]; then
  exit 0
fi
mkdir -p "$ports"
export WINEPREFIX="$prefix"
"$loader" wineboot -i >/dev/null 2>&1
for entry in $mapping; do
  "$loader" reg add 'HKLM\Software\Wine\Ports' /v "${entry%%=*}" /d "${entry#*=}" /f >/dev/null
done
# A registry file in UTF-16 carries the Chinese name whatever the locale.
fonts="$prefix/qv-fonts.reg"
printf '\357\273\277Windows Registry Editor Version 5.00\r\n\r\n%s\r\n%s\r\n' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"新細明體"="AR PL UMing TW"' | iconv -f UTF-8 -t UTF-16LE >"$fonts"
"$loader" reg import "Z:$(printf '%s' "$fonts" | tr / '\\')" >/dev/null
wineserver -w
echo "$state" >"$prefix/qv-ports"
