#!/usr/bin/env bash
# Installs the Debian packages Quillo builds and tests with, and any packages named as arguments (for
# example a benchmark's yardstick). Quiet and quick when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache lld
  libcurl4-openssl-dev nlohmann-json3-dev libfmt-dev libicu-dev
  libcmark-gfm-dev libcmark-gfm-extensions-dev libfreetype-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev fonts-dejavu-core fonts-dejavu-extra
  libcairo2-dev libpango1.0-dev librsvg2-dev libgdk-pixbuf-2.0-dev webp-pixbuf-loader adwaita-icon-theme
  # Live tests: a private virtual desktop session per test program (tests/support/live_session.sh).
  xvfb openbox dbus-daemon libx11-dev
  # The live desktop: GTK 3 windows, the status item (with its XEmbed tray fallback, shown by trayer in tests).
  libgtk-3-dev libxtst-dev libayatana-appindicator3-dev trayer
  # The live X11 desktop's global input and accessibility.
  libx11-xcb-dev libxkbcommon-dev libxkbcommon-x11-dev libxi-dev libatspi2.0-dev at-spi2-core x11-xkb-utils
  # The live desktop's speech: synthesis, recognition with its US English model, and the sound systems.
  libespeak-ng-dev libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us libpulse-dev libasound2-dev
  # The live desktop's web pages (WebKitGTK 4.1).
  libwebkit2gtk-4.1-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
