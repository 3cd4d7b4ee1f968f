#!/usr/bin/env bash
# Installs what is missing, builds Vornel with its tests and runs them headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
cmake --preset default
cmake --build --preset default --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --preset default --parallel "$(nproc)"
