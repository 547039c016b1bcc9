#!/usr/bin/env bash
# Sets up the machine, builds every deliverable and installs it into build/stage.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_BUILD_TESTS=OFF
cmake --build build/release -j "$(nproc)"
cmake --install build/release --prefix build/stage
echo "Installed into build/stage:"
find build/stage -type f | sort
