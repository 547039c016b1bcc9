#!/usr/bin/env bash
# Runs ecr_purchase against a simulated terminal:
#
#   run_against_simulator.sh <zq_terminal_simulator> <ecr_purchase> <script>...
#
# Starts the simulator on a free loopback port with the scripts, one after
# the other, runs the example against it, then prints what the terminal
# received. Exit status 0 only when the purchase went through and the
# terminal saw exactly the requests of its scripts.
set -euo pipefail

simulator=$1
example=$2
shift 2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
script="$work/terminal.script"
cat "$@" >"$script"

"$simulator" --timeout 60000 "$script" >"$work/simulator.out" 2>"$work/simulator.err" &
simulator_pid=$!

# The simulator prints its port as its first line.
port=""
for _ in $(seq 1 100); do
  port=$(head -n 1 "$work/simulator.out" 2>/dev/null || true)
  [[ -n $port ]] && break
  sleep 0.05
done
if [[ -z $port ]]; then
  echo "the simulated terminal did not start" >&2
  kill "$simulator_pid" 2>/dev/null || true
  cat "$work/simulator.err" >&2
  exit 1
fi
echo "simulated terminal listening on 127.0.0.1:$port"

example_status=0
"$example" 127.0.0.1 "$port" 1250 || example_status=$?

# The simulator ends by itself once the library has closed its connection.
simulator_status=0
wait "$simulator_pid" || simulator_status=$?

echo "the simulated terminal received:"
tail -n +2 "$work/simulator.out" | sed 's/^/  /'
if [[ -s $work/simulator.err ]]; then
  echo "the simulated terminal reports:"
  sed 's/^/  /' "$work/simulator.err"
fi
[[ $example_status -eq 0 && $simulator_status -eq 0 ]]
