#!/usr/bin/env bash
# The purchase of scripts/demo.sh from a Java host: sets up the machine,
# builds the library and installs it into build/stage (the library in lib,
# the binding's classes in share/java/zumbrajni.jar), builds the simulated
# terminal, compiles the Java example host
# (examples/java/zumbra/demo/EcrPurchase.java) against that installation
# alone and runs one card purchase with it against the simulated terminal,
# then prints its receipt.
#
# To drive a real terminal instead, give the launcher built here the
# terminal's address, port and the amount:
#   build/demo/ecr_purchase_java 192.168.1.50 5000 1250
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

scripts/build-stage.sh

echo "== the Java host, against the installation alone, and a purchase with it"
# The library's own log goes to build/demo/logs (config/log4crc); the host
# prints what the terminal asks, the outcome and the merchant and customer
# copies of the receipt (its Windows-1250 lines shown as UTF-8).
mkdir -p build/demo/logs
LOG4C_RCPATH="$root/config" examples/java/host_against_installation.sh build/stage build/demo \
  "$root/build/simulator/tests/support/zq_terminal_simulator"
echo "== done; the library's log files are in build/demo/logs"
