#!/usr/bin/env bash
# The library's folders are layers: each may include its own headers and
# those of the layers below it, never one above. Every #include "..." of
# every source file is resolved as the compiler would find it (a path from
# the tree's root, or a bare public header name) and checked against the
# table below; each include it does not allow, and each it cannot resolve,
# is reported with its file and line.
# usage: check_layering.sh [<source tree>]   (default: the tree holding this script)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

# Folder, then what its files may include besides their own folder's.
# A subfolder belongs to its folder's layer (link/windows is link). A file
# named instead of a folder allows that one header alone: the protocol sees
# nothing of api/ but the public types.
layers='
core
link                  core
protocol              core link api/zumbra_ecr_types.h
api                   core link protocol
printouts/engine      core link protocol api
printouts/documents   core link protocol api printouts/engine
jni                   core link protocol api printouts/engine printouts/documents
'

# Headers the build writes, which the tree does not hold: folder, name pattern.
generated='
jni                   zumbra_terminal_*.h
'

# Where the compiler finds a bare name: the including file's folder first,
# then the public header folders the build puts on the include path.
public_dirs=(core link api printouts/engine printouts/documents)

declare -A allowed=()
folders=()
while read -r folder rest; do
  [[ -n $folder ]] || continue
  folders+=("$folder")
  allowed[$folder]=" $rest "
done <<<"$layers"

# The layer of a path from the root: the longest folder of the table it lies in.
layer_of() {
  local path=$1 best="" f
  for f in "${folders[@]}"; do
    if [[ $path == "$f"/* && ${#f} -gt ${#best} ]]; then best=$f; fi
  done
  echo "$best"
}

is_generated() {
  local layer=$1 name=$2 folder pattern
  while read -r folder pattern; do
    [[ -n $folder ]] || continue
    # shellcheck disable=SC2053  # the pattern is a glob on purpose
    if [[ $layer == "$folder" && $name == $pattern ]]; then return 0; fi
  done <<<"$generated"
  return 1
}

# The included file as a path from the root, or nothing when it is not in the tree.
resolve() {
  local from_dir=$1 name=$2 d
  if [[ -f $from_dir/$name ]]; then echo "$from_dir/$name"; return; fi
  if [[ $name == */* ]]; then
    if [[ -f $name ]]; then echo "$name"; fi
    return
  fi
  for d in "${public_dirs[@]}"; do
    if [[ -f $d/$name ]]; then echo "$d/$name"; return; fi
  done
}

files=()
for f in "${folders[@]}"; do
  [[ -d $f ]] || { echo "check_layering: no folder $f in $root"; exit 2; }
  while IFS= read -r -d '' file; do files+=("${file#./}"); done < <(
    find "$f" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cpp' -o -name '*.def' \) -print0)
done

faults=0
checked=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  [[ ${rest#*:} =~ \"([^\"]*)\" ]] || continue
  name=${BASH_REMATCH[1]}
  layer=$(layer_of "$file")
  checked=$((checked + 1))
  target=$(resolve "${file%/*}" "$name")
  if [[ -z $target ]]; then
    is_generated "$layer" "$name" && continue
    echo "$file:$line: #include \"$name\" is not a file of the tree"
    faults=$((faults + 1))
    continue
  fi
  target_layer=$(layer_of "$target")
  if [[ -z $target_layer ]]; then
    echo "$file:$line: #include \"$name\" reaches $target, outside the library's folders"
    faults=$((faults + 1))
  elif [[ $target_layer != "$layer" && ${allowed[$layer]} != *" $target_layer "* &&
          ${allowed[$layer]} != *" $target "* ]]; then
    echo "$file:$line: #include \"$name\" is $target, of $target_layer, which $layer may not see"
    faults=$((faults + 1))
  fi
done < <(grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${files[@]}" /dev/null)

if ((faults)); then
  echo "check_layering: $faults of $checked includes break the layers"
  exit 1
fi
echo "check_layering: $checked includes of ${#files[@]} files keep the layers"
