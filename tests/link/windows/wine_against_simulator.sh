#!/usr/bin/env bash
# Runs a Windows program under wine against the simulated terminal of the
# Linux build:
#
#   wine_against_simulator.sh <zq_terminal_simulator> <script> <program.exe> [argument...]
#
# The simulator serves the script on a loopback port, which replaces every
# argument @PORT@. Exit status 0 only when the program succeeded and the
# terminal saw exactly the requests of its script. WINEPREFIX, when set, is
# the wine prefix to use (made on first use); wine's own chatter is off.
set -euo pipefail

simulator=$1
script=$2
shift 2

wine=${ZQ_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
export WINEDEBUG=${WINEDEBUG:--all}
# A new prefix needs neither the .NET nor the browser runtime.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

work=$(mktemp -d)
cleanup() {
  rm -rf "$work"
  # The prefix's wine server would linger a few seconds after the program.
  if [[ -n ${WINEPREFIX:-} ]]; then
    "$(command -v wineserver || echo "$(dirname "$wine")/wineserver")" -k 2>/dev/null || true
  fi
}
trap cleanup EXIT
if [[ -n ${WINEPREFIX:-} && ! -d $WINEPREFIX ]]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
fi

# shellcheck source=examples/simulator.sh
source "$(dirname "$0")/../../../examples/simulator.sh"
start_simulator "$simulator" "$script" "$work"

program_status=0
"$wine" "${@//@PORT@/$port}" || program_status=$?

# The simulator ends by itself once the program has closed its connection,
# then lists the requests it received after its port.
simulator_status=0
wait "$simulator_pid" || simulator_status=$?
if ((simulator_status != 0)); then
  echo "the simulated terminal received:"
  tail -n +2 "$work/simulator.out" | sed 's/^/  /'
  echo "the simulated terminal reports:"
  sed 's/^/  /' "$work/simulator.err"
fi
((program_status == 0 && simulator_status == 0))
