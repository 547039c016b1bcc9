#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test twice: a plain build
# and an AddressSanitizer + UndefinedBehaviorSanitizer build; then the
# benchmarks (built and run briefly), the TPM tools, the Windows DLL under
# wine, the fuzz targets and memcheck. This is what CI runs (.ci/run).
#
#   scripts/test.sh            everything
#   scripts/test.sh --quick    the plain build and its tests only, for daily work
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
case ${1:-} in
  "") ;;
  --quick) quick=1 ;;
  *) echo "usage: scripts/test.sh [--quick]" >&2; exit 2 ;;
esac

scripts/setup-debian.sh

jobs=$(nproc)

build_and_test() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 120
}

echo "== plain build"
build_and_test build/plain
((quick == 0)) || exit 0
echo "== sanitizer build"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build_and_test build/sanitize -DZQ_SANITIZE=ON
echo "== benchmarks"
# Built in Release and each run briefly, so that they keep building and
# running; their figures are read by people, never checked here.
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZQ_BUILD_BENCHMARKS=ON -DZQ_BUILD_TESTS=OFF
cmake --build build/bench -j "$jobs"
for bench in link_framing_bench purchase_benchmark report_entries_benchmark; do
  build/bench/benchmarks/$bench --benchmark_min_time=0.01 >/dev/null
done
echo "== TPM tools"
# trustprobe.exe and certmint.dll cross-built with mingw-w64, and their PE checks.
scripts/build-tpm.sh
echo "== Windows DLL"
# Cross-built with mingw-w64, checked against the Linux build's Java entry
# points, and run under wine against the simulated terminal.
ZQ_JOBS=$jobs scripts/build-windows.sh build/plain build/windows
echo "== fuzz targets"
# A short run of every target on its seed corpus; scripts/fuzz.sh with more
# seconds a target runs them longer.
scripts/fuzz.sh "${ZQ_FUZZ_SECONDS:-20}"
echo "== valgrind"
# memcheck over the terminal-function tests and a short soak, on build/plain.
scripts/valgrind.sh build/plain
