#!/usr/bin/env bash
# Runs one exit host against a simulated terminal serving the given scripts
# one after the other (none: no terminal, port 0):
#
#   run_exit_host.sh <zq_terminal_simulator> <host> <where> <call> [<script>...]
#
# Passes when the host exits 0, printed no sanitizer report, and the
# terminal (if any) saw exactly the requests of its scripts.
set -euo pipefail

simulator=$1
host=$2
where=$3
call=$4
shift 4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
port=0
if (($#)); then
  cat "$@" >"$work/terminal.script"
  # shellcheck source=examples/simulator.sh
  source "$(dirname "$0")/../../examples/simulator.sh"
  start_simulator "$simulator" "$work/terminal.script" "$work"
fi

host_status=0
"$host" "$where" "$call" "$port" >"$work/host.out" 2>&1 || host_status=$?
cat "$work/host.out"

simulator_status=0
if (($#)); then
  # The simulator ends by itself once the host's connection has closed and
  # every step was used; a host that failed may have left steps unused.
  ((host_status == 0)) || kill "$simulator_pid" 2>/dev/null || true
  wait "$simulator_pid" || simulator_status=$?
  if [[ -s $work/simulator.err ]]; then
    echo "the simulated terminal reports:"
    cat "$work/simulator.err"
  fi
fi

echo "host exit status $host_status, terminal exit status $simulator_status"
if grep -qE "Sanitizer|runtime error|pure virtual" "$work/host.out"; then
  echo "sanitizer or runtime report"
  exit 1
fi
[[ $host_status -eq 0 && $simulator_status -eq 0 ]]
