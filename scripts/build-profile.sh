#!/usr/bin/env bash
# Builds the programs that scripts/callgrind.sh and scripts/heap-check.sh run:
# Release code with symbols, in build/callgrind (ZQ_PROFILE_BUILD_DIR sets
# another folder). Prints the folder.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${ZQ_PROFILE_BUILD_DIR:-build/callgrind}
scripts/setup-debian.sh >&2
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG -g" \
  -DZQ_BUILD_BENCHMARKS=ON -DZQ_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target purchase_profile zq_terminal_simulator >/dev/null
echo "$dir"
