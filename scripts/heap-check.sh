#!/usr/bin/env bash
# The heap of a host over many purchases: a process that holds the library
# and a till and nothing else runs purchases through ecr_startTransaction
# against the scripted terminal in a process of its own, pauses skipped, and
# prints the heap in use (glibc's count of allocated bytes) after purchase
# 250, 1000, 3000 and every further 3000, and after the last. A library that
# keeps nothing from one purchase to the next shows the same figure each time.
#
#   scripts/heap-check.sh [purchases]     default 10000 (a few minutes)
set -euo pipefail
cd "$(dirname "$0")/.."

purchases=${1:-10000}
dir=$(scripts/build-profile.sh)
# shellcheck source=examples/simulator.sh
source examples/simulator.sh

work=$(mktemp -d)
simulator_pid=""
cleanup() {
  if [[ -n $simulator_pid ]]; then kill "$simulator_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

checkpoints=""
for n in 250 1000 $(seq 3000 3000 "$purchases") "$purchases"; do
  ((n <= purchases)) && checkpoints+="${checkpoints:+,}$n"
done

"$dir/benchmarks/purchase_profile" --purchases "$purchases" --write-script "$work/script"
start_simulator "$dir/benchmarks/zq_terminal_simulator" "$work/script" "$work" $((purchases * 1000 + 60000))

started=$SECONDS
"$dir/benchmarks/purchase_profile" --purchases "$purchases" --port "$port" --heap-at "$checkpoints"
wait "$simulator_pid" || { echo "the simulated terminal reports:" >&2; cat "$work/simulator.err" >&2; exit 1; }
simulator_pid=""
echo "$purchases purchases in $((SECONDS - started)) s"
