# Sourced by the scripts that run the simulated terminal as a process of its
# own:
#
#   source examples/simulator.sh
#   start_simulator <zq_terminal_simulator> <script> <work-dir> [<timeout ms> [<option>...]]
#
# Starts it on a free loopback port with its output in <work-dir>, passing it
# the options after the time-out (--pty and --baud for a serial line), and sets
# simulator_pid and port (the simulator prints the port as its first line).
# Fails, with what the simulator said, when it does not start.

start_simulator() {
  local simulator=$1 script=$2 work=$3 timeout=${4:-60000}
  shift $(($# < 4 ? $# : 4))
  "$simulator" --timeout "$timeout" "$@" "$script" >"$work/simulator.out" 2>"$work/simulator.err" &
  simulator_pid=$!
  port=""
  for _ in $(seq 1 200); do
    port=$(head -n 1 "$work/simulator.out" 2>/dev/null || true)
    [[ -n $port ]] && return 0
    sleep 0.05
  done
  echo "the simulated terminal did not start" >&2
  kill "$simulator_pid" 2>/dev/null || true
  cat "$work/simulator.err" >&2
  return 1
}
