#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on Debian 12.
# Runs apt-get only when a package is missing, so repeated runs are quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  liblog4c-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  iso-codes
  clang libclang-rt-14-dev valgrind strace
  openjdk-17-jdk-headless
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  dpkg-dev wine64
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  # Waits for another apt on the same machine rather than failing.
  lock=(-o DPkg::Lock::Timeout=600)
  $SUDO apt-get "${lock[@]}" update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi
