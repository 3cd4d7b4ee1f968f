#!/usr/bin/env bash
# Extracts the real photos the face-check tests and benchmark use from Debian
# packages (downloaded, not installed): scikit-image's sample images and
# OpenCV's example data. Nothing third-party is committed.
#   usage: tools/fetch-test-photos.sh DEST
set -euo pipefail
dest=${1:?usage: fetch-test-photos.sh DEST}
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
want=(astronaut.png camera.png chelsea.png coffee.png baboon.jpg starry_night.jpg)
missing=0
for f in "${want[@]}"; do [ -s "$dest/$f" ] || missing=1; done
[ $missing -eq 0 ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
if ! apt-get download python3-skimage opencv-doc >/dev/null 2>&1; then
  apt-get update -qq
  apt-get download python3-skimage opencv-doc >/dev/null
fi
skimage=./usr/lib/python3/dist-packages/skimage/data
opencv=./usr/share/doc/opencv-doc/examples/data
dpkg-deb --fsys-tarfile python3-skimage_*.deb |
  tar -x "$skimage/astronaut.png" "$skimage/camera.png" "$skimage/chelsea.png" "$skimage/coffee.png"
dpkg-deb --fsys-tarfile opencv-doc_*.deb | tar -x "$opencv/baboon.jpg" "$opencv/starry_night.jpg"
cp "$skimage"/*.png "$opencv"/*.jpg "$dest"/
