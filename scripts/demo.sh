#!/usr/bin/env bash
# The library at work: sets up the machine, builds every deliverable and
# installs it into build/stage, builds the simulated terminal, builds the
# example host examples/ecr_purchase.c against that installation alone, and
# runs one card purchase against the simulated terminal, printing its receipt.
#
# To drive a real terminal instead, give the example built here the
# terminal's address, port and the amount:
#   build/demo/ecr_purchase 192.168.1.50 5000 1250
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup-debian.sh

echo "== build"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_BUILD_TESTS=OFF
cmake --build build/release -j "$(nproc)"
cmake --install build/release --prefix build/stage
# The simulated terminal lives with the test helpers: a tree of its own with
# the tests configured, of which only the simulator is built.
cmake -S . -B build/simulator -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_BUILD_TESTS=ON
cmake --build build/simulator -j "$(nproc)" --target zq_terminal_simulator

echo "== the example host, against the installed headers and library"
mkdir -p build/demo/logs
libdir=$(find build/stage -name 'libzumbrajni.so' -printf '%h\n' | head -n 1)
cc -std=c99 -Wall -Wextra -pedantic -o build/demo/ecr_purchase examples/ecr_purchase.c \
  -I build/stage/include/zumbrajni -L "$libdir" -lzumbrajni -Wl,-rpath,"$root/$libdir"

echo "== a purchase against the simulated terminal"
# The library's own log goes to build/demo/logs (config/log4crc); the
# example prints what the terminal asks, the outcome and the merchant and
# customer copies of the receipt (its Windows-1250 lines shown as UTF-8).
cd build/demo
LOG4C_RCPATH="$root/config" "$root/examples/run_against_simulator.sh" \
  "$root/build/simulator/tests/support/zq_terminal_simulator" ./ecr_purchase \
  "$root/examples/purchase.script" "$root/examples/receipt.script"
echo "== done; the library's log files are in build/demo/logs"
