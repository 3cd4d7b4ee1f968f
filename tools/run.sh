#!/usr/bin/env bash
# Installs what is missing, builds Vornel and launches it. Arguments are passed
# to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
cmake --preset default -DVORNEL_BUILD_TESTS=OFF
cmake --build --preset default --parallel "$(nproc)"
exec build/default/vornel "$@"
