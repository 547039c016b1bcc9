#!/usr/bin/env bash
# The shared object calls its own exported functions directly, never through
# its procedure linkage table: a host that defines a function of the same
# name must not take over the library's calls.
# usage: check_internal_calls.sh <libzumbrajni.so>
set -euo pipefail
lib=$1

exported=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TtWw]$/ {print $3}' | sort -u)
through_plt=$(objdump -d --no-show-raw-insn "$lib" | sed -n 's/.*<\([^>@]*\)@plt>.*/\1/p' | sort -u)
own=$(comm -12 <(echo "$exported") <(echo "$through_plt"))
if [[ -n $own ]]; then
  echo "exported functions the library reaches through its PLT:"
  echo "$own"
  exit 1
fi
echo "$(echo "$exported" | grep -c .) exported functions, none reached through the PLT"
