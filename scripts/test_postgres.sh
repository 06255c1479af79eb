#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests: `start FOLDER [LOCALE]` makes
# a fresh cluster in FOLDER and starts it listening only on a Unix socket
# there; `stop FOLDER` stops it and removes it. The tests find the server
# through FOLDER/server.url (a postgresql:// address of its maintenance
# database). Without LOCALE the cluster has no locale (byte order, ASCII
# case); with one, such as en_US.UTF-8, its databases compare and fold case
# by that locale, which is generated first when the system lacks it
# (Debian's locales package, as root).
#
# The server never runs as root: when the tests do, it runs as the
# unprivileged "postgres" user of Debian's package. When that user cannot
# reach FOLDER (a checkout in a private home) or the socket path would be too
# long for Unix sockets, the cluster lives in a private folder under /tmp and
# FOLDER/location names it.
set -euo pipefail

command="${1:?usage: test_postgres.sh start|stop FOLDER [LOCALE]}"
folder="${2:?usage: test_postgres.sh start|stop FOLDER [LOCALE]}"
locale="${3:-}"
port=5432 # only names the socket file; the server has no TCP port

bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)"
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "test_postgres.sh: PostgreSQL's server is not installed (apt-get install postgresql)" >&2
  exit 1
fi

as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop_cluster() {
  local home="$folder"
  [ -f "$folder/location" ] && home="$(cat "$folder/location")"
  if [ -f "$home/data/postmaster.pid" ]; then
    as_server "$bin/pg_ctl" -D "$home/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  if [ "$home" != "$folder" ]; then
    rm -rf "$home"
  fi
  rm -rf "$folder"
}

# Whether the system has the locale ("en_US.UTF-8" is listed as en_US.utf8).
has_locale() {
  local wanted
  wanted="$(echo "$1" | tr '[:upper:]' '[:lower:]' | sed 's/utf-8$/utf8/')"
  locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | grep -qx "$wanted"
}

ensure_locale() {
  has_locale "$locale" && return 0
  local name="${locale%%.*}" charset="${locale#*.}"
  if [ "$(id -u)" -ne 0 ] || [ ! -e "/usr/share/i18n/locales/$name" ] || ! command -v localedef >/dev/null; then
    echo "test_postgres.sh: the locale $locale is missing (apt-get install locales, then as root: localedef -i $name -f $charset $locale)" >&2
    exit 1
  fi
  localedef -i "$name" -c -f "$charset" "$locale" || true # warnings only: the locale is made
  has_locale "$locale" || {
    echo "test_postgres.sh: could not make the locale $locale" >&2
    exit 1
  }
}

start_cluster() {
  stop_cluster
  local locale_option=(--no-locale)
  if [ -n "$locale" ]; then
    ensure_locale
    locale_option=(--locale="$locale")
  fi
  mkdir -p "$folder"
  local home="$folder"
  local socket_path="$folder/.s.PGSQL.$port"
  if [ "${#socket_path}" -gt 100 ] ||
    { [ "$(id -u)" -eq 0 ] && ! runuser -u postgres -- test -x "$folder"; }; then
    home="$(mktemp -d /tmp/lunmark-postgres.XXXXXX)"
    echo "$home" >"$folder/location"
  fi
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$home"
    chmod 755 "$home"
  fi
  as_server "$bin/initdb" -D "$home/data" -A trust -U postgres -E UTF8 "${locale_option[@]}" \
    >"$home/initdb.log" 2>&1 || {
    cat "$home/initdb.log" >&2
    exit 1
  }
  # A throwaway cluster: durability buys nothing, speed does.
  as_server "$bin/pg_ctl" -D "$home/data" -l "$home/server.log" -w start \
    -o "-k $home -c listen_addresses= -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=100" \
    >/dev/null || {
    cat "$home/server.log" >&2
    exit 1
  }
  echo "postgresql://postgres@/postgres?host=$home&port=$port" >"$folder/server.url"
}

case "$command" in
start) start_cluster ;;
stop) stop_cluster ;;
*)
  echo "usage: test_postgres.sh start|stop FOLDER" >&2
  exit 2
  ;;
esac
