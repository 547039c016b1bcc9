#!/usr/bin/env bash
# The purchase of scripts/demo.sh from a Java host: sets up the machine,
# builds the library, the binding's Java classes, the Java example host
# (examples/java/zumbra/demo/EcrPurchase.java) and the simulated terminal in
# build/simulator, and runs one card purchase against the simulated terminal,
# then prints its receipt.
#
# To drive a real terminal instead, give the launcher built here the
# terminal's address, port and the amount:
#   build/simulator/examples/ecr_purchase_java 192.168.1.50 5000 1250
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

scripts/setup-debian.sh

echo "== build"
cmake -S . -B build/simulator -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_BUILD_TESTS=ON
cmake --build build/simulator -j "$(nproc)" \
  --target zumbrajni zq_terminal_simulator ecr_purchase_java_classes

echo "== a purchase and its receipt from the Java host against the simulated terminal"
# The library's own log goes to build/demo/logs (config/log4crc); the host
# prints what the terminal asks, the outcome and the merchant and customer
# copies of the receipt (its Windows-1250 lines shown as UTF-8).
mkdir -p build/demo/logs
cd build/demo
LOG4C_RCPATH="$root/config" "$root/examples/run_against_simulator.sh" \
  "$root/build/simulator/tests/support/zq_terminal_simulator" \
  "$root/build/simulator/examples/ecr_purchase_java" "$root/examples/purchase.script" \
  "$root/examples/receipt.script"
echo "== done; the library's log files are in build/demo/logs"
