#!/usr/bin/env bash
# The shared object must export every function its public headers mark ZQ_API,
# under its plain C name, every Java entry point of the binding's sources,
# and nothing of the C++ inside.
# usage: check_exports.sh <libzumbrajni.so> <public header or binding source>...
set -euo pipefail
# Byte-wise matching and sorting, whatever the caller's locale: a header's
# non-UTF-8 byte must not turn grep's input binary, nor a locale reorder the
# lists that comm compares.
export LC_ALL=C
lib=$1; shift

declared=$(grep -h -v "^[[:space:]]*#" "$@" | sed -n 's/.*ZQ_API[^(]*[^A-Za-z0-9_]\([A-Za-z_][A-Za-z0-9_]*\)[[:space:]]*(.*/\1/p' | sort -u)
# Java entry points, defined in the binding's sources, are bound by name.
jni=$(grep -h -o 'Java_[A-Za-z0-9_]*[[:space:]]*(' "$@" | sed 's/[[:space:]]*($//' | sort -u || true)
declared=$(printf '%s\n%s\n' "$declared" "$jni" | grep . | sort -u)
exported=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort -u)

status=0
missing=$(comm -23 <(echo "$declared") <(echo "$exported"))
if [[ -n $missing ]]; then
  echo "declared ZQ_API but not exported:"; echo "$missing"; status=1
fi
mangled=$(echo "$exported" | grep '^_Z' | cat || true)
if [[ -n $mangled ]]; then
  echo "C++ symbols leak from the library:"; echo "$mangled" | c++filt; status=1
fi
echo "$(echo "$declared" | grep -c . || true) declared functions checked"
exit $status
