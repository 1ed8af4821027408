#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the end-to-end checks need, then
# fetches the built-in picture set (scripts/fetch-pictures.sh).
# Idempotent: packages already present are left alone, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev
  qt6-translations-l10n
  libpulse-dev
  libzip-dev
  dpkg-dev lintian desktop-file-utils shared-mime-info appstream
  libspeechd-dev speech-dispatcher speech-dispatcher-espeak-ng
  fonts-liberation fontconfig
  xvfb xauth xdotool x11-utils python3-xlib openbox time imagemagick
  clang libclang-rt-14-dev
  dbus dbus-bin at-spi2-core python3-pyatspi
  libpresage-dev libpresage1v5 libsqlite3-dev python3 stardict-xmlittre dasher-data
  hunspell hunspell-fr
  unicode-cldr-core
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

bash "$(dirname "$0")/fetch-pictures.sh"
