#!/usr/bin/env bash
# Installs the Debian packages that Lunmark and QV need to build, run and test.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
  libsqlite3-dev libcurl4-openssl-dev libcpp-httplib-dev
  libzip-dev libxlsxwriter-dev
  libfreetype-dev libfontconfig-dev fonts-arphic-uming fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils xvfb xauth
  # the user's guide's pictures: a window manager, keys and screen captures
  openbox xdotool imagemagick
  # the X side of the qv.dll screen tests: xwd captures the root window
  x11-apps
  lintian help2man dpkg-dev desktop-file-utils man-db file
  qt6-translations-l10n libsodium-dev
  # PostgreSQL: the Qt driver, libpq, and the server for the tests
  libqt6sql6-psql libpq-dev postgresql
  # a second test cluster in en_US.UTF-8: the locale is generated from these
  locales
  # qv.dll: the Windows cross compilers, GoogleTest's sources for its tests,
  # and Wine (32-bit from the i386 architecture) to run them
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine wine32 wine64
)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
