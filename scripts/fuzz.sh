#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build/fuzz and runs
# each one for the given number of seconds (default 30) on a copy of its seed
# corpus, so the corpus in the repository never grows. Every target runs,
# also after one has found a crash, a leak, a sanitizer report or a time-out;
# the script then fails at the end, naming those targets. A reproducer lands
# in build/fuzz/findings/<target>/. The build also compiles every subsystem
# of the library, with clang's checks against exit-time destructors and
# load-time constructors (cmake/ZqSubsystem.cmake).
#   scripts/fuzz.sh [seconds-per-target] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
dir=${ZQ_FUZZ_BUILD_DIR:-build/fuzz}

# -O1 as libFuzzer advises: the sanitizers stay exact, runs are several times faster.
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS=-O1 -DCMAKE_CXX_FLAGS=-O1 -DZQ_FUZZ=ON -DZQ_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target zq_fuzz_targets

if (($#)); then
  targets=("$@")
else
  targets=()
  for src in fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

# Error lines are still formatted from the fuzzed fields; trace dumps of every
# byte would make each run five times slower. ZQ_FUZZ_LOG4CRC=tests/fixtures/default
# formats them all.
export LOG4C_RCPATH=$PWD/${ZQ_FUZZ_LOG4CRC:-tests/fixtures/errors-only}
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
for t in "${targets[@]}"; do
  work=$dir/work/$t
  findings=$dir/findings/$t
  rm -rf "$work" && mkdir -p "$work" "$findings"
  if [[ -d fuzz/corpus/$t ]]; then cp fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true; fi
  # Earlier findings run first, as inputs of their own.
  if [[ -d fuzz/regressions/$t ]]; then cp fuzz/regressions/"$t"/* "$work"/ 2>/dev/null || true; fi
  echo "== $t: ${seconds}s"
  if ! "$dir/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/" "$work" >"$dir/$t.log" 2>&1; then
    tail -n 60 "$dir/$t.log"
    failed+=("$t")
  else
    grep -E "^stat::number_of_executed_units|^stat::new_units_added" "$dir/$t.log" | tr '\n' ' '
    echo
  fi
done

if ((${#failed[@]})); then
  echo "fuzz: findings in ${failed[*]} (inputs under $dir/findings/)"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds}s each without a finding"
