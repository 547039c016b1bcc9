#!/usr/bin/env bash
# System calls of the library a purchase and an exchange, counted by
# strace -c -f: a process that holds the library and a till and nothing else
# runs purchases through ecr_startTransaction against the scripted terminal in
# a process of its own (not counted), pauses skipped, once with a few
# purchases and once with more; the difference, over the purchases between,
# leaves out the start-up and the connection.
#
#   scripts/syscalls.sh [level]     errors-only (default) or trace
#
# Prints the calls an exchange and, per system call, the calls a purchase.
set -euo pipefail
cd "$(dirname "$0")/.."

level=${1:-errors-only}
few=50
many=250
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

# strace's summary of the given number of purchases, in $work/strace.<n>.
count() {
  local n=$1
  "$dir/benchmarks/purchase_profile" --purchases "$n" --write-script "$work/script.$n"
  start_simulator "$dir/benchmarks/zq_terminal_simulator" "$work/script.$n" "$work" 120000
  strace -c -f -o "$work/strace.$n" \
    "$dir/benchmarks/purchase_profile" --purchases "$n" --port "$port" --level "$level" >"$work/profile.$n"
  wait "$simulator_pid" || { echo "the simulated terminal reports:" >&2; cat "$work/simulator.err" >&2; exit 1; }
  simulator_pid=""
}
count "$few"
count "$many"

exchanges=$(sed -n 's/.*, \([0-9]*\) exchanges each$/\1/p' "$work/profile.$many")
# Calls per system call name; the summary's last column is the name.
calls() { awk '$1 ~ /^[0-9.]+$/ && NF >= 5 && $NF != "total" { print $NF, $4 }' "$1"; }
join -a 2 -e 0 -o 0,1.2,2.2 <(calls "$work/strace.$few" | sort) <(calls "$work/strace.$many" | sort) |
  awk -v n=$((many - few)) -v e="$exchanges" -v level="$level" '
    { per = ($3 - $2) / n; if (per > 0.005) { rows[$1] = per; total += per } }
    END {
      printf "%s: %.2f system calls an exchange (%d exchanges a purchase), %.1f a purchase\n", level, total / e, e, total
      for (name in rows) printf "    %-12s %6.2f a purchase\n", name, rows[name]
    }'
