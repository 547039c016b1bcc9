#!/usr/bin/env bash
# Runs the terminal-function tests (which drive the scripted terminal over
# loopback) and a short soak under valgrind's memcheck, on a plain Debug
# build: any invalid access or definitely lost block fails the script.
#
#   scripts/valgrind.sh [build-dir]     default build/plain, configured and built here
#
# Every test case runs in a process of its own, as under CTest, several at a
# time. ZQ_VALGRIND_SOAK_TRANSACTIONS sets the soak's size (default 200);
# ZQ_VALGRIND_FOLDERS the test folders (default "api soak").
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=${1:-build/plain}
jobs=$(nproc)

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZQ_SANITIZE=OFF >/dev/null
targets=()
for folder in ${ZQ_VALGRIND_FOLDERS:-api soak}; do
  for src in tests/"$folder"/*_test.cpp; do
    targets+=("${folder//\//_}_$(basename "$src" .cpp)")
  done
done
cmake --build "$dir" -j "$jobs" --target "${targets[@]}"

logs="$dir/valgrind"
rm -rf "$logs"
mkdir -p "$logs"

# One line per test case: program and gtest filter.
cases="$logs/cases"
: >"$cases"
for target in "${targets[@]}"; do
  suite=""
  while IFS= read -r line; do
    if [[ $line != " "* ]]; then
      suite=${line%% *}
    else
      name=${line#  }
      echo "$dir/tests/$target ${suite}${name%% *}" >>"$cases"
    fi
  done < <("$dir/tests/$target" --gtest_list_tests)
done

run_case() {
  local program=$1 filter=$2
  local log="$logs/$(basename "$program").${filter//\//_}"
  if LOG4C_RCPATH="$root/tests/fixtures/default" \
     ZQ_SOAK_TRANSACTIONS="${ZQ_VALGRIND_SOAK_TRANSACTIONS:-200}" ZQ_SOAK_TIMEOUT_MS=500 \
     valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite --track-origins=no \
       --log-file="$log.valgrind" "$program" --gtest_filter="$filter" >"$log.out" 2>&1; then
    echo "ok      $filter"
  else
    echo "FAILED  $filter ($program)"
    tail -n 40 "$log.valgrind" "$log.out"
    return 1
  fi
}
export -f run_case
export logs root

count=$(wc -l <"$cases")
echo "== valgrind: $count test cases"
if xargs -P "$jobs" -L 1 bash -c 'run_case "$0" "$1"' <"$cases"; then
  echo "== valgrind: no invalid access, no definitely lost bytes"
else
  echo "== valgrind: failures above (logs in $logs)"
  exit 1
fi
