#!/usr/bin/env bash
# The library at work: sets up the machine, builds the Linux library and
# installs it into build/stage (the shared library, its headers, the
# pkg-config file, the CMake package and the binding's classes as
# share/java/zumbrajni.jar), builds the simulated terminal, builds the example
# host examples/ecr_purchase.c against that installation alone (with its CMake
# package and with its pkg-config file), and runs a card purchase with each
# against the simulated terminal, printing its receipt. The Windows DLL and
# the TPM tools come from scripts/build-windows.sh and scripts/build-tpm.sh;
# the Java host against the same installation is examples/java/run_demo.sh.
#
# To drive a real terminal instead, give the example built here the
# terminal's address, port and the amount:
#   build/demo/ecr_purchase 192.168.1.50 5000 1250
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/build-stage.sh

echo "== the example host, against the installation alone, and a purchase with it"
# Built once with the CMake package and once with pkg-config. The library's
# own log goes to build/demo/logs (config/log4crc); the example prints what
# the terminal asks, the outcome and the merchant and customer copies of the
# receipt (its Windows-1250 lines shown as UTF-8).
mkdir -p build/demo/logs
LOG4C_RCPATH="$root/config" examples/host_against_installation.sh build/stage build/demo \
  "$root/build/simulator/tests/support/zq_terminal_simulator"
echo "== done; the library's log files are in build/demo/logs"
