#!/usr/bin/env bash
# The library's folders are layers: each may include its own headers and
# those of the layers below it, never one above. Every #include "..." of
# every source file is resolved as the compiler would find it (a path from
# the tree's root, or a bare public header name; ".." segments resolved
# before the folder is looked up) and checked against the table below; each
# include it does not allow, and each it cannot resolve, is reported with its
# file and line. An #include <...> counts alike when it names a file of the
# tree (the root and the public header folders are on the include path, so it
# compiles); any other is a system header and left alone. Outside the library (tests, fuzz
# targets, benchmarks, examples) only the platform folders are checked:
# clients are made through link/CommPlatform.h, so only the tests of a
# platform folder include it.
# usage: check_layering.sh [<source tree>]   (default: the tree holding this script)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

# Folder, then what its files may include besides their own folder's.
# A subfolder belongs to its folder's layer unless it has a line of its own.
# The platform folders have: they build on the link, and nothing includes
# them, not the link either, which makes its clients through the factory
# they define. A file named instead of a folder allows that one header
# alone: the protocol sees nothing of api/ but the public types.
layers='
core
link                  core
link/posix            core link
link/windows          core link
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

# The platform folders, then the one folder outside the library whose files
# may include them: their own tests.
platform_tests='
link/posix            tests/link/posix
link/windows          tests/link/windows
'
# The folders outside the library that are checked for the platform folders.
outside=(tests fuzz benchmarks examples)

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

declare -A platform_test_folder=()
while read -r folder tests_folder; do
  [[ -n $folder ]] || continue
  platform_test_folder[$folder]=$tests_folder
done <<<"$platform_tests"

# The layer of a path from the root, in $layer_found: the longest folder of
# the table it lies in. (Results go through variables, not the output of a
# subshell: the check runs this for every include of the tree.)
layer_of() {
  local path=$1 f
  layer_found=""
  for f in "${folders[@]}"; do
    if [[ $path == "$f"/* && ${#f} -gt ${#layer_found} ]]; then layer_found=$f; fi
  done
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

# A path from the root with its "." and ".." segments resolved, in
# $normalized; one that climbs out of the tree keeps its leading "..".
normalize() {
  local part out=()
  local -a parts
  IFS=/ read -r -a parts <<<"$1"
  for part in "${parts[@]}"; do
    case $part in
      "" | .) ;;
      ..)
        if ((${#out[@]})) && [[ ${out[-1]} != .. ]]; then unset 'out[-1]'; else out+=(..); fi ;;
      *) out+=("$part") ;;
    esac
  done
  normalized=""
  for part in "${out[@]}"; do normalized+=${normalized:+/}$part; done
}

# The included file as a path from the root in $target, or nothing when it is
# not in the tree. A quoted name is looked for beside the including file
# first; a name in angle brackets only on the include path.
resolve() {
  local from_dir=$1 name=$2 form=$3 d
  target=""
  if [[ $form == quote && -f $from_dir/$name ]]; then normalize "$from_dir/$name"; target=$normalized; return; fi
  if [[ $name == */* ]]; then
    if [[ -f $name ]]; then normalize "$name"; target=$normalized; fi
    return
  fi
  for d in "${public_dirs[@]}"; do
    if [[ -f $d/$name ]]; then target=$d/$name; return; fi
  done
}

sources_of() {
  find "$1" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cpp' -o -name '*.def' \) -print0
}

files=()
for f in "${folders[@]}"; do
  [[ -d $f ]] || { echo "check_layering: no folder $f in $root"; exit 2; }
  while IFS= read -r -d '' file; do files+=("${file#./}"); done < <(sources_of "$f")
done
# Each file once: a subfolder with a line of its own is also under its parent.
mapfile -t files < <(printf '%s\n' "${files[@]}" | sort -u)
library_files=${#files[@]}
for f in "${outside[@]}"; do
  [[ -d $f ]] || continue
  while IFS= read -r -d '' file; do files+=("${file#./}"); done < <(sources_of "$f")
done

faults=0
checked=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  directive=${rest#*:}
  if [[ $directive =~ ^[^\"\<]*\"([^\"]*)\" ]]; then
    name=${BASH_REMATCH[1]} form=quote spelled="\"${BASH_REMATCH[1]}\""
  elif [[ $directive =~ ^[^\"\<]*\<([^\>]*)\> ]]; then
    name=${BASH_REMATCH[1]} form=angle spelled="<${BASH_REMATCH[1]}>"
  else
    continue
  fi
  layer_of "$file"
  layer=$layer_found
  resolve "${file%/*}" "$name" "$form"
  # A system header: nothing of the tree.
  [[ $form == quote || -n $target ]] || continue
  if [[ -z $layer ]]; then
    # Outside the library: only an include of a platform folder counts.
    [[ -n $target ]] || continue
    layer_of "$target"
    target_layer=$layer_found
    [[ -n $target_layer && -n ${platform_test_folder[$target_layer]:-} ]] || continue
    checked=$((checked + 1))
    if [[ $file != "${platform_test_folder[$target_layer]}"/* ]]; then
      echo "$file:$line: #include $spelled is $target, of $target_layer, which only" \
        "${platform_test_folder[$target_layer]} may see outside the library"
      faults=$((faults + 1))
    fi
    continue
  fi
  checked=$((checked + 1))
  if [[ -z $target ]]; then
    is_generated "$layer" "$name" && continue
    echo "$file:$line: #include $spelled is not a file of the tree"
    faults=$((faults + 1))
    continue
  fi
  layer_of "$target"
  target_layer=$layer_found
  if [[ -z $target_layer ]]; then
    echo "$file:$line: #include $spelled reaches $target, outside the library's folders"
    faults=$((faults + 1))
  elif [[ $target_layer != "$layer" && ${allowed[$layer]} != *" $target_layer "* &&
          ${allowed[$layer]} != *" $target "* ]]; then
    echo "$file:$line: #include $spelled is $target, of $target_layer, which $layer may not see"
    faults=$((faults + 1))
  fi
done < <(grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "${files[@]}" /dev/null)

if ((faults)); then
  echo "check_layering: $faults of $checked includes break the layers"
  exit 1
fi
echo "check_layering: $checked includes of ${#files[@]} files ($library_files of the library) keep the layers"
