#!/usr/bin/env bash
# Builds the example host against an installation of the library alone, as
# any host is built: once with the CMake package (find_package(zumbrajni)),
# once with the pkg-config file. Given the simulated terminal, then runs a
# purchase with each build (run_against_simulator.sh) from the output folder.
#
#   host_against_installation.sh <prefix> <out-dir> [<zq_terminal_simulator>]
#
# Leaves <out-dir>/cmake/ecr_purchase and <out-dir>/ecr_purchase.
set -euo pipefail

if (($# < 2 || $# > 3)); then
  echo "usage: $0 <prefix> <out-dir> [<zq_terminal_simulator>]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
simulator=${3:-}

echo "-- the example host with find_package(zumbrajni)"
cmake -S "$here" -B "$out/cmake" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$out/cmake"

echo "-- the example host with pkg-config"
pc=$(find "$prefix" -name zumbrajni.pc -print -quit)
if [[ -z $pc ]]; then
  echo "no zumbrajni.pc under $prefix" >&2
  exit 1
fi
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$pc")
read -r -a flags <<<"$(pkg-config --cflags --libs zumbrajni)"
"${CC:-cc}" -std=c99 -Wall -Wextra -pedantic -Werror -o "$out/ecr_purchase" "$here/ecr_purchase.c" \
  "${flags[@]}" -Wl,-rpath,"$(pkg-config --variable=libdir zumbrajni)"

[[ -n $simulator ]] || exit 0
cd "$out"
for host in cmake/ecr_purchase ecr_purchase; do
  echo "-- a purchase by $host against the simulated terminal"
  "$here/run_against_simulator.sh" "$simulator" "./$host" "$here/purchase.script" "$here/receipt.script"
done
