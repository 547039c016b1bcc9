#!/usr/bin/env bash
# Builds the Java example host (zumbra/demo/EcrPurchase.java) against an
# installation of the library alone, as any Java host is built: compiled
# against <prefix>/share/java/zumbrajni.jar, run with that jar on its class
# path and the installed library's folder as java.library.path. Given the
# simulated terminal, then runs a purchase with it from the output folder.
#
#   host_against_installation.sh <prefix> <out-dir> [<zq_terminal_simulator>]
#
# Leaves the classes in <out-dir>/classes and a launcher,
# <out-dir>/ecr_purchase_java [address [port [amount]]]. JAVAC and JAVA name
# other compilers and virtual machines than those on the PATH.
set -euo pipefail

usage="usage: $0 <prefix> <out-dir> [<zq_terminal_simulator>]"
if (($# < 2 || $# > 3)); then
  echo "$usage" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
simulator=${3:-}

jar=$prefix/share/java/zumbrajni.jar
# The library's folder is the one its pkg-config file names (lib, or
# lib/<multiarch> for a system prefix).
pc=$(find "$prefix" -name zumbrajni.pc -print -quit)
if [[ ! -f $jar || -z $pc ]]; then
  echo "no installation of the library under $prefix (share/java/zumbrajni.jar and zumbrajni.pc)" >&2
  exit 1
fi
libdir=$(cd "$(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --variable=libdir zumbrajni)" && pwd)

echo "-- the Java example host against $jar"
rm -rf "$out/classes"
"${JAVAC:-javac}" -encoding UTF-8 -Xlint:all -Werror -cp "$jar" -d "$out/classes" \
  "$here/zumbra/demo/EcrPurchase.java"
cat >"$out/ecr_purchase_java" <<EOF
#!/bin/sh
exec "${JAVA:-java}" -Djava.library.path="$libdir" -cp "$jar:$out/classes" zumbra.demo.EcrPurchase "\$@"
EOF
chmod +x "$out/ecr_purchase_java"

[[ -n $simulator ]] || exit 0
cd "$out"
echo "-- a purchase by the Java host against the simulated terminal"
"$here/../run_against_simulator.sh" "$simulator" ./ecr_purchase_java "$here/../purchase.script" \
  "$here/../receipt.script"
