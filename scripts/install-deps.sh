#!/usr/bin/env bash
# Installs the Debian 12 packages Swatchcraft needs to build, run and test,
# and only those that are missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg62-turbo-dev zlib1g-dev
  qt6-base-dev qt6-translations-l10n xvfb xauth
  desktop-file-utils appstream shared-mime-info gettext po4a
  povray povray-includes fonts-freefont-ttf fontconfig
  locales ccache
  at-spi2-core dbus python3-gi gir1.2-atspi-2.0
  python3-html5lib chromium
)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# The core tests run under a German locale (decimal comma), which must exist.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
