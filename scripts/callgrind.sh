#!/usr/bin/env bash
# Instructions and heap allocations of one purchase, counted by callgrind: a
# warm-up purchase, then the given number of purchases (default 20) through
# ecr_startTransaction against the scripted terminal on loopback, pauses
# skipped, at the errors-only and at the trace log level. Only the calling
# thread inside the measured purchases is counted (the terminal runs on a
# thread of its own). The counts repeat within a fraction of a percent on a
# loaded machine, where CPU times do not.
#
#   scripts/callgrind.sh [purchases]
#
# Prints, per level, instructions a purchase and an exchange, allocations
# (malloc, calloc, realloc) a purchase and the functions that cost most
# (their own instructions, not those of their callees). The callgrind files
# stay in build/callgrind/ for callgrind_annotate or kcachegrind.
set -euo pipefail
cd "$(dirname "$0")/.."

purchases=${1:-20}
dir=$(scripts/build-profile.sh)

# Sums the calls to the named functions ("|" between names) in a callgrind
# file; function names are written once and then referred to by number.
count_calls() {
  awk -v names="$1" '
    function resolve(ref,    id, rest) {
      if (match(ref, /^\([0-9]+\)/)) {
        id = substr(ref, 2, RLENGTH - 2)
        rest = substr(ref, RLENGTH + 1)
        sub(/^ /, "", rest)
        if (rest != "") name[id] = rest
        return name[id]
      }
      return ref
    }
    BEGIN { n = split(names, list, "|"); for (i = 1; i <= n; i++) wanted[list[i]] = 1 }
    /^fn=/ { resolve(substr($0, 4)); next }
    /^cfn=/ { target = resolve(substr($0, 5)); next }
    /^calls=/ { if (target in wanted) { split(substr($0, 7), parts, " "); total += parts[1] } }
    END { print total + 0 }' "$2"
}

for level in errors-only trace; do
  out=$dir/callgrind.$level.out
  if ! valgrind --tool=callgrind --callgrind-out-file="$out" --collect-atstart=no \
      --toggle-collect='*measuredPurchases*' \
      "$dir/benchmarks/purchase_profile" --purchases "$purchases" --level "$level" >"$dir/callgrind.$level.log" 2>&1; then
    tail -n 20 "$dir/callgrind.$level.log"
    exit 1
  fi
  exchanges=$(sed -n 's/.*, \([0-9]*\) exchanges each$/\1/p' "$dir/callgrind.$level.log")
  instructions=$(awk '/^totals:/ {print $2}' "$out")
  allocations=$(count_calls "malloc|calloc|realloc" "$out")
  awk -v level="$level" -v n="$purchases" -v e="$exchanges" -v i="$instructions" -v a="$allocations" 'BEGIN {
    printf "%s: %.3f M instructions a purchase, %.1f k an exchange (%d exchanges); %.0f allocations a purchase\n",
      level, i / n / 1e6, i / n / e / 1e3, e, a / n }'
  # log4c's share: everything below its logging call, formatting included.
  callgrind_annotate --auto=no --inclusive=yes "$out" 2>/dev/null |
    awk -v n="$purchases" -v i="$instructions" '/:__log4c_category_vlog / {
      count = $1; gsub(",", "", count)
      printf "    log4c (with the formatting it does): %.3f M a purchase, %.0f%%\n", count / n / 1e6, 100 * count / i }'
  # The costliest functions by their own instructions, a purchase.
  callgrind_annotate --auto=no "$out" 2>/dev/null |
    awk -v n="$purchases" '/file:function$/ { table = 1; getline; next }
      table && NF && shown++ < 12 {
        count = $1; gsub(",", "", count)
        sub(/^ *[0-9,]+ +\([ 0-9.]+%\) +/, "")
        printf "    %9.0f  %s\n", count / n, $0 }' |
    sed -E 's/ \[[^]]*\]$//; s/\(anonymous namespace\)/(anon)/g; s/std::vector<unsigned char, std::allocator<unsigned char> >/Bytes/g' |
    cut -c1-160
done
