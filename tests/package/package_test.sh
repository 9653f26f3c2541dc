#!/bin/sh
# Builds the Debian package from the build tree, unpacks it into a private root
# and checks what a user gets: the file list, the desktop entry and metainfo
# as their validators see them, the dependencies dpkg-shlibdeps found, the
# postinst, and both programs running from the unpacked root.
# Usage: package_test.sh BUILD_DIR        (skipped, status 77, without cpack or
# dpkg-deb; a failure under CI=true)
set -eu
. "$(dirname "$0")/../support/skip.sh"

BUILD=$1
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null 2>&1 || skip_test "package_test: $tool is missing"
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

(cd "$BUILD" && cpack -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1) ||
  { cat "$WORK/cpack.log"; exit 1; }
DEB=$(ls "$WORK"/out/korvex48_*.deb)
ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT"

fail=0
check() {  # check MESSAGE COMMAND...
  message=$1
  shift
  if ! "$@" >"$WORK/check.log" 2>&1; then
    echo "package_test: $message"
    cat "$WORK/check.log"
    fail=1
  fi
}

for f in usr/bin/korvex48 usr/bin/korvex48ctl usr/lib/udev/rules.d/70-korvex48.rules \
         usr/share/applications/korvex48.desktop \
         usr/share/metainfo/org.korvex48.korvex48.metainfo.xml \
         usr/share/man/man1/korvex48.1 usr/share/man/man1/korvex48ctl.1 \
         usr/share/man/man5/korvex48-config.5 \
         usr/share/bash-completion/completions/korvex48ctl \
         usr/share/icons/hicolor/scalable/apps/korvex48.svg; do
  check "missing /$f" test -s "$ROOT/$f"
done
for size in 16 22 24 32 48 64 128 256; do
  check "missing the ${size}x${size} icon" test -s "$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/korvex48.png"
done

check "the udev rule has no identifiers" grep -q 'ATTRS{idVendor}=="[0-9a-f]\{4\}"' \
  "$ROOT/usr/lib/udev/rules.d/70-korvex48.rules"
if command -v desktop-file-validate >/dev/null 2>&1; then
  check "desktop-file-validate refuses the entry" desktop-file-validate \
    "$ROOT/usr/share/applications/korvex48.desktop"
fi
if command -v appstreamcli >/dev/null 2>&1; then
  check "appstreamcli refuses the metainfo" appstreamcli validate --no-net \
    "$ROOT/usr/share/metainfo/org.korvex48.korvex48.metainfo.xml"
fi

dpkg-deb -I "$DEB" control >"$WORK/control"
check "no library dependencies from dpkg-shlibdeps" grep -q '^Depends:.*libqt6widgets6' "$WORK/control"
check "no dependency on GIO, which the editor loads at run time" grep -q '^Depends:.*libglib2\.0-0' \
  "$WORK/control"
dpkg-deb -e "$DEB" "$WORK/control.d"
check "the postinst does not reload the udev rules" grep -q 'udevadm control --reload-rules' \
  "$WORK/control.d/postinst"
check "the postinst is not executable" test -x "$WORK/control.d/postinst"

version=$("$ROOT/usr/bin/korvex48ctl" --version) || { echo "package_test: korvex48ctl --version failed"; fail=1; }
case $version in
  "korvex48ctl "[0-9]*) ;;
  *) echo "package_test: korvex48ctl --version printed '$version'"; fail=1 ;;
esac
check "korvex48 --version failed" "$ROOT/usr/bin/korvex48" --version

[ $fail -eq 0 ] && echo "package_test: $(basename "$DEB") ok ($(wc -c <"$DEB") bytes)"
exit $fail
