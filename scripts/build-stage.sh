#!/usr/bin/env bash
# What both demos stand on: sets up the machine, builds the Linux library and
# installs it into build/stage (the shared library, its headers, the
# pkg-config file, the CMake package and the binding's classes as
# share/java/zumbrajni.jar), and builds the simulated terminal,
# build/simulator/tests/support/zq_terminal_simulator.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh

echo "== build"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_BUILD_TESTS=OFF
cmake --build build/release -j "$(nproc)"
cmake --install build/release --prefix build/stage
# The simulated terminal lives with the test helpers: a tree of its own with
# the tests configured, of which only the simulator is built.
cmake -S . -B build/simulator -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_BUILD_TESTS=ON
cmake --build build/simulator -j "$(nproc)" --target zq_terminal_simulator
