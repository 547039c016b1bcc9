#!/usr/bin/env bash
# An example host refuses arguments it cannot use: a port that is not a
# number from 1 to 65535, an amount that is not digits alone, or more
# arguments than it takes. It prints its usage line and ends with 2, before
# it connects to anything.
#   check_usage.sh <example host>
set -euo pipefail
example=$1

# The arguments of each case, separated by '|'.
cases=(
  "127.0.0.1|abc"
  "127.0.0.1|0"
  "127.0.0.1|70000"
  "127.0.0.1|65536"
  "127.0.0.1|5000x"
  "127.0.0.1|-1"
  "127.0.0.1| 5000"
  "127.0.0.1|"
  "127.0.0.1|00000000070000"
  "127.0.0.1|5000|12a"
  "127.0.0.1|5000|-5"
  "127.0.0.1|5000|"
  "127.0.0.1|5000|12.50"
  "127.0.0.1|5000|1250|extra"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for c in "${cases[@]}"; do
  IFS='|' read -r -a args <<<"$c"
  # A trailing empty argument is an argument too.
  [[ $c != *'|' ]] || args+=("")
  rc=0
  "$example" "${args[@]}" >"$work/out" 2>"$work/err" </dev/null || rc=$?
  if [[ $rc != 2 || -s $work/out ]] || ! grep -q '^usage: ' "$work/err"; then
    echo "FAIL: ${args[*]@Q}: exit $rc, expected 2 with the usage line alone"
    sed 's/^/  out: /' "$work/out"
    sed 's/^/  err: /' "$work/err"
    failed=1
  fi
done
((failed)) || echo "check_usage: ${#cases[@]} bad argument lists refused with the usage line"
exit $failed
