#!/usr/bin/env bash
# Runs a Windows program under wine against the simulated terminal of the
# Linux build:
#
#   wine_against_simulator.sh [--serial <COMn> <baud>] <zq_terminal_simulator> <script> <program.exe> [argument...]
#
# The simulator serves the script on a loopback port, which replaces every
# argument @PORT@. With --serial it serves it on a serial line as well: a
# pseudo-terminal that wine opens as port COMn, since wine maps COMn to the
# Unix device that $WINEPREFIX/dosdevices/comn links to; a line the program
# set to another speed than <baud> fails the run. Exit status 0 only when the
# program succeeded and the terminal saw exactly the requests of its script.
# WINEPREFIX, when set, is the wine prefix to use (made on first use; needed
# for --serial); wine's own chatter is off.
set -euo pipefail

line=()
if [[ ${1:-} == --serial ]]; then
  if [[ -z ${WINEPREFIX:-} ]]; then
    echo "wine_against_simulator.sh: --serial needs WINEPREFIX" >&2
    exit 2
  fi
  com=$2
  line=(--pty "$WINEPREFIX/dosdevices/${com,,}" --baud "$3")
  shift 3
fi
simulator=$1
script=$2
shift 2

wine=${ZQ_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
export WINEDEBUG=${WINEDEBUG:--all}
# A new prefix needs neither the .NET nor the browser runtime.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

work=$(mktemp -d)
cleanup() {
  rm -rf "$work"
  # The prefix's wine server would linger a few seconds after the program.
  if [[ -n ${WINEPREFIX:-} ]]; then
    "$wineserver" -k 2>/dev/null || true
  fi
}
trap cleanup EXIT
if [[ -n ${WINEPREFIX:-} && ! -d $WINEPREFIX ]]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
fi
if ((${#line[@]})); then
  # The wine server opens the port, and the pseudo-terminal becomes its
  # controlling terminal; the hang-up it gets when the simulator closes the
  # line makes it dump all its objects on its standard error. Started here,
  # that goes nowhere.
  "$wineserver" -p >/dev/null 2>&1 || true
fi

# shellcheck source=examples/simulator.sh
source "$(dirname "$0")/../../../examples/simulator.sh"
start_simulator "$simulator" "$script" "$work" 60000 "${line[@]}"

# A program that hangs (a read loop that never gives up, say) must fail the
# run, not hold it: every program here is done in seconds.
limit=${ZQ_WINE_RUN_SECONDS:-180}
program_status=0
timeout -k 10 "$limit" "$wine" "${@//@PORT@/$port}" || program_status=$?
if ((program_status == 124 || program_status == 137)); then
  echo "the program was still running after $limit s, and was stopped"
fi

# The simulator ends by itself once the program has closed its connection,
# then lists the requests it received after its port; a program that failed
# may never have connected, and the simulator is not left to its time-out.
((program_status == 0)) || kill -TERM "$simulator_pid" 2>/dev/null || true
simulator_status=0
wait "$simulator_pid" || simulator_status=$?
if ((simulator_status != 0)); then
  echo "the simulated terminal received:"
  tail -n +2 "$work/simulator.out" | sed 's/^/  /'
  echo "the simulated terminal reports:"
  sed 's/^/  /' "$work/simulator.err"
fi
((program_status == 0 && simulator_status == 0))
