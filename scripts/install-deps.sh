#!/bin/sh
# Installs the Debian packages that building, testing and the screenshots need.
# Quick and silent when everything is already there; safe to run again.
set -eu

PACKAGES="g++ make cmake ninja-build pkg-config python3 python3-pil
libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-14-dev clang-format
libpng-dev zlib1g-dev nlohmann-json3-dev
libfuse3-dev fuse3
qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6test6 libgl-dev fonts-dejavu-core
xvfb xdotool x11-utils x11-apps x11-xserver-utils imagemagick libx11-dev libxi-dev
weston qt6-wayland
libglib2.0-dev libglib2.0-bin gsettings-desktop-schemas
desktop-file-utils appstream dpkg-dev fakeroot file"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

echo "install-deps: installing:$missing" >&2
if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
elif command -v sudo >/dev/null 2>&1; then
  SUDO="sudo"
else
  echo "install-deps: need root or sudo to install:$missing" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# A fresh root has empty package lists; an install against them silently does nothing.
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null

still=""
for p in $missing; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || still="$still $p"
done
if [ -n "$still" ]; then
  echo "install-deps: could not install:$still" >&2
  exit 1
fi
