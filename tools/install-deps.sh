#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Vornel need.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-svg-dev qt6-httpserver-dev
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libqt6sql6-sqlite libqt6svg6
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-window qml6-module-qtqml-workerscript qml6-module-qtquick-templates
  qml6-module-qttest qt6-image-formats-plugins qml6-module-qtquick-dialogs
  qml6-module-qtquick-shapes qml6-module-qt-labs-folderlistmodel
  fonts-quicksand fonts-materialdesignicons-webfont
  qcoro-qt6-dev libspng-dev libbenchmark-dev
  libopencv-objdetect-dev libopencv-imgproc-dev opencv-data
  dbus
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
