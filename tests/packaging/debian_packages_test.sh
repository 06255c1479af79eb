#!/usr/bin/env bash
# The Debian packages as a shop gets them: cpack builds them from the build
# folder, lintian finds no errors, each holds exactly its files (and
# `cmake --install` lays out the same under another prefix), and unpacked
# into a temporary root the programs start, the desktop entry starts Lunmark
# in ~/Lunmark, the man pages cover every option of --help, and a C program
# builds against libqv-dev through pkg-config and runs on libqv.
#
# debian_packages_test.sh BUILD_DIR C_COMPILER C_PROGRAM GUIDE_DIR
set -euo pipefail
build="$1" cc="$2" program="$3" guide_source="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
ma="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
lib="usr/lib/$ma"
packages=(lunmark lunmark-tools libqv libqv-dev qvctl)

echo "== cpack"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/debs" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not build the packages"; }
deb() { echo "$work/debs/$1_"*.deb; }
for p in "${packages[@]}"; do
    [ -f "$(deb "$p")" ] || fail "no package $p in $(ls "$work/debs")"
done

echo "== lintian"
lintian --fail-on error "$work"/debs/*.deb || fail "lintian reports errors"

echo "== contents"
docs() { echo "usr/share/doc/$1/changelog.Debian.gz usr/share/doc/$1/copyright"; }
# The user's guide: every page and picture of docs/guide.
guide="$(cd "$guide_source" && find . -name '*.md' -o -name '*.png' | sed 's|^\./|usr/share/lunmark/guide/|')"
declare -A expected=(
    [lunmark]="usr/bin/lunmark usr/share/applications/lunmark.desktop
        usr/share/icons/hicolor/48x48/apps/lunmark.png
        usr/share/icons/hicolor/256x256/apps/lunmark.png
        usr/share/icons/hicolor/scalable/apps/lunmark.svg
        usr/share/man/man1/lunmark.1.gz $(docs lunmark) $guide"
    [lunmark-tools]="usr/bin/lunmark-gateway-sim usr/share/man/man1/lunmark-gateway-sim.1.gz
        $(docs lunmark-tools)"
    [libqv]="$lib/libqv.so.1 $lib/libqv.so.1.0.0 $(docs libqv)"
    [libqv-dev]="usr/include/qv.h $lib/libqv.so $lib/pkgconfig/qv.pc $(docs libqv-dev)"
    [qvctl]="usr/bin/qvctl usr/share/man/man1/qvctl.1.gz $(docs qvctl)"
)
for p in "${packages[@]}"; do
    dpkg-deb --fsys-tarfile "$(deb "$p")" | tar -t | sed -n 's|^\./||; /[^/]$/p' | sort \
        >"$work/$p.has"
    tr -s ' \n' '\n' <<<"${expected[$p]}" | sed '/^$/d' | sort >"$work/$p.wants"
    diff -u "$work/$p.wants" "$work/$p.has" || fail "package $p holds other files than these"
done

echo "== cmake --install"
# The same files under another prefix, without the packages' usr/.
cmake --install "$build" --prefix "$work/stage" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
(cd "$work/stage" && find . ! -type d | sed 's|^\./||' | sort) >"$work/stage.has"
sort "$work"/*.wants | sed 's|^usr/||' >"$work/stage.wants"
diff -u "$work/stage.wants" "$work/stage.has" || fail "cmake --install lays out other files"
grep -qx "prefix=$work/stage" "$work/stage/lib/$ma/pkgconfig/qv.pc" ||
    fail "qv.pc does not name the prefix it was installed under"

echo "== dependencies"
version="$(dpkg-deb -f "$(deb libqv)" Version)"
depends() { dpkg-deb -f "$(deb "$1")" Depends; }
for want in "lunmark libqt6widgets6" "lunmark libqt6sql6-sqlite" "lunmark libqt6sql6-psql" "libqv libfreetype6" \
    "libqv-dev libqv (= $version)" "qvctl libqv (= $version)"; do
    p="${want%% *}" needed="${want#* }"
    grep -qF "$needed" <<<"$(depends "$p")" || fail "$p does not depend on $needed: $(depends "$p")"
done
dpkg-deb --ctrl-tarfile "$(deb libqv)" | tar -xO ./shlibs | grep -qx "libqv 1 libqv (>= $version)" ||
    fail "libqv has no shlibs entry for libqv.so.1"

echo "== unpacked"
runtime="$work/runtime" dev="$work/dev"
for p in libqv qvctl; do dpkg -x "$(deb "$p")" "$runtime"; done
for p in "${packages[@]}"; do dpkg -x "$(deb "$p")" "$dev"; done
readelf -d "$runtime/$lib/libqv.so.1.0.0" | grep -q 'SONAME.*\[libqv\.so\.1\]' ||
    fail "libqv.so.1.0.0 does not carry the soname libqv.so.1"
for f in usr/bin/lunmark usr/bin/lunmark-gateway-sim usr/bin/qvctl "$lib/libqv.so.1.0.0"; do
    ! readelf -S "$dev/$f" | grep -q '\.debug_info' || fail "$f is not stripped"
done

"$dev/usr/bin/lunmark" --help >"$work/lunmark.help" || fail "lunmark --help failed"
grep -q -- '--database' "$work/lunmark.help" || fail "lunmark --help: $(cat "$work/lunmark.help")"
# The installed program names its installed guide, whatever the build tree holds.
grep -qF "$dev/usr/share/lunmark/guide/index.md" "$work/lunmark.help" ||
    fail "lunmark --help does not name the installed guide: $(tail -2 "$work/lunmark.help")"
LD_LIBRARY_PATH="$dev/$lib" "$dev/usr/bin/qvctl" --list >"$work/qvctl.list" || fail "qvctl --list failed"
grep -q '^QVOpenPort ' "$work/qvctl.list" || fail "qvctl --list does not list QVOpenPort"
# Without the development link and without LD_LIBRARY_PATH, qvctl finds
# libqv.so.1 beside it through its run path.
out="$("$runtime/usr/bin/qvctl" WinVersion 4)" || fail "qvctl could not call libqv: $out"
[ "$out" = "WinVersion(4) = 1" ] || fail "qvctl WinVersion 4 printed: $out"

echo "== man pages"
for p in lunmark lunmark-gateway-sim qvctl; do
    page="$dev/usr/share/man/man1/$p.1.gz"
    LC_ALL=C.UTF-8 lexgrog "$page" >/dev/null || fail "$p(1) has no NAME line"
    [ "$p" != lunmark ] || zcat "$page" | grep -qF /usr/share/lunmark/guide/index.md ||
        fail "lunmark(1) does not say where the user's guide is"
    roff="$(zcat "$page" | sed 's/\\-/-/g')"
    for option in $("$dev/usr/bin/$p" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u); do
        grep -qF -- "$option" <<<"$roff" || fail "$p(1) does not describe $option"
    done
done

echo "== desktop entry"
entry="$dev/usr/share/applications/lunmark.desktop"
desktop-file-validate "$entry" || fail "lunmark.desktop is not valid"
grep -qx 'Name=會員管理' "$entry" || fail "lunmark.desktop is not named 會員管理"
grep -qx 'Icon=lunmark' "$entry" || fail "lunmark.desktop does not show Lunmark's icon"
# Started from the desktop, with the unpacked programs on the path, Lunmark
# makes ~/Lunmark and its database there, not in the folder it was started from.
command="$(sed -n 's/^Exec=//p' "$entry")"
mkdir "$work/home" "$work/elsewhere"
(cd "$work/elsewhere" && export HOME="$work/home" PATH="$dev/usr/bin:$PATH" &&
    eval "exec $command") >"$work/desktop.log" 2>&1 &
started=$!
for _ in $(seq 150); do
    [ -f "$work/home/Lunmark/db.sqlite" ] && break
    kill -0 "$started" 2>/dev/null || break
    sleep 0.2
done
kill "$started" 2>/dev/null || true
wait "$started" 2>/dev/null || true
[ -f "$work/home/Lunmark/db.sqlite" ] ||
    fail "the desktop entry made no ~/Lunmark/db.sqlite: $(cat "$work/desktop.log")"
[ -z "$(ls "$work/elsewhere")" ] || fail "the desktop entry wrote into the folder it was started from"

echo "== pkg-config"
export PKG_CONFIG_LIBDIR="$dev/$lib/pkgconfig" PKG_CONFIG_PATH=""
flags="$(pkg-config --define-variable=prefix="$dev/usr" --cflags --libs qv)" ||
    fail "pkg-config does not find qv"
# shellcheck disable=SC2086 # the flags are words
"$cc" -std=c11 -Wall -Wextra -Werror -pedantic -o "$work/uses_qv" "$program" $flags ||
    fail "a C program does not build against libqv-dev"
readelf -d "$work/uses_qv" | grep -q 'NEEDED.*\[libqv\.so\.1\]' ||
    fail "the C program does not record libqv.so.1"
LD_LIBRARY_PATH="$runtime/$lib" "$work/uses_qv" || fail "the C program failed on libqv"

echo "== the packages are sound"
