#!/usr/bin/env bash
# Cross-builds the Windows TPM tools with mingw-w64 and checks the binaries:
# trustprobe.exe (i686) into build/tpm-i686, certmint.dll (x86_64) into
# build/tpm-x86_64. Their portable code is tested on Linux with the rest of
# the tests (tests/tpm/).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${ZQ_JOBS:-$(nproc)}
for arch in i686 x86_64; do
  dir=build/tpm-$arch
  cmake -S tpm -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-w64-$arch.cmake"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure
done
