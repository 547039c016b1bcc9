#!/usr/bin/env bash
# check_layering.sh on a small tree of its own: it passes the tree as the
# layers allow it, and fails, naming file and line, once one include breaks
# them. A check that passes everything would otherwise go unnoticed.
# usage: check_layering_test.sh <check_layering.sh>
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

# The allowed tree: each folder including its own and lower layers, and a
# platform folder included by its own tests alone.
make_tree() {
  rm -rf "${tree:?}"/*
  mkdir -p "$tree"/{core,link/posix,link/windows,protocol,api,printouts/engine,printouts/documents,jni}
  mkdir -p "$tree"/tests/{api,link/posix}
  printf '#pragma once\n' >"$tree/core/Base.h"
  printf '#include "core/Base.h"\n' >"$tree/link/Link.h"
  printf '#include "link/Link.h"\n' >"$tree/link/windows/Serial.h"
  printf '#include "link/Link.h"\n#include "core/Base.h"\n' >"$tree/link/posix/Tcp.h"
  printf '#include "link/posix/Tcp.h"\n' >"$tree/tests/link/posix/T.cpp"
  printf '#include "link/Link.h"\n#include "support/Peer.h"\n' >"$tree/tests/api/T.cpp"
  printf '#pragma once\n' >"$tree/api/zumbra_ecr_types.h"
  printf '#include "zumbra_ecr_types.h"\n' >"$tree/api/zumbra_ecr.h"
  printf '#include "link/Link.h"\n#include "zumbra_ecr_types.h"\n' >"$tree/protocol/P.h"
  printf '#include "protocol/P.h"\n#include "zumbra_ecr.h"\n' >"$tree/api/A.cpp"
  printf '#include "core/Base.h"\n' >"$tree/printouts/engine/E.h"
  printf '#include "printouts/engine/E.h"\n#include "zumbra_ecr.h"\n' >"$tree/printouts/documents/D.h"
  printf '#include "printouts/documents/D.h"\n#include "zumbra_terminal_Native.h"\n' >"$tree/jni/J.cpp"
}

# file to append to, the line, the exit code expected, a text the report holds
cases=(
  "-|-|0|keep the layers"
  "protocol/P.h|#include \"zumbra_ecr.h\"|1|protocol/P.h:3: #include \"zumbra_ecr.h\" is api/zumbra_ecr.h, of api, which protocol may not see"
  "protocol/P.h|  #  include \"api/zumbra_ecr.h\"|1|protocol/P.h:3:"
  "link/windows/Serial.h|#include \"protocol/P.h\"|1|of protocol, which link/windows may not see"
  "api/A.cpp|#include \"link/posix/Tcp.h\"|1|api/A.cpp:3: #include \"link/posix/Tcp.h\" is link/posix/Tcp.h, of link/posix, which api may not see"
  "link/Link.h|#include \"link/windows/Serial.h\"|1|of link/windows, which link may not see"
  "link/posix/Tcp.h|#include \"link/windows/Serial.h\"|1|of link/windows, which link/posix may not see"
  "tests/api/T.cpp|#include \"link/posix/Tcp.h\"|1|tests/api/T.cpp:3: #include \"link/posix/Tcp.h\" is link/posix/Tcp.h, of link/posix, which only tests/link/posix may see outside the library"
  "tests/link/posix/T.cpp|#include \"link/windows/Serial.h\"|1|which only tests/link/windows may see outside the library"
  "core/Base.h|#include \"Missing.h\"|1|core/Base.h:2: #include \"Missing.h\" is not a file of the tree"
  "api/A.cpp|#include \"zumbra_terminal_Native.h\"|1|api/A.cpp:3: #include \"zumbra_terminal_Native.h\" is not a file of the tree"
  # A path with ".." is looked up where it leads, not where it starts.
  "protocol/P.h|#include \"../api/zumbra_ecr.h\"|1|protocol/P.h:3: #include \"../api/zumbra_ecr.h\" is api/zumbra_ecr.h, of api, which protocol may not see"
  "protocol/P.h|#include \"../protocol/../api/./zumbra_ecr.h\"|1|is api/zumbra_ecr.h, of api, which protocol may not see"
  "link/posix/Tcp.h|#include \"../Link.h\"|0|keep the layers"
  # Angle brackets find the tree's files on the include path as well.
  "protocol/P.h|#include <api/zumbra_ecr.h>|1|protocol/P.h:3: #include <api/zumbra_ecr.h> is api/zumbra_ecr.h, of api, which protocol may not see"
  "protocol/P.h|#include <zumbra_ecr.h>|1|protocol/P.h:3: #include <zumbra_ecr.h> is api/zumbra_ecr.h, of api, which protocol may not see"
  "tests/api/T.cpp|#include <link/posix/Tcp.h>|1|tests/api/T.cpp:3: #include <link/posix/Tcp.h> is link/posix/Tcp.h, of link/posix, which only tests/link/posix may see outside the library"
  "api/A.cpp|#include <vector>|0|keep the layers"
  "api/A.cpp|#include <Base.h>|0|keep the layers"
)

failed=0
for c in "${cases[@]}"; do
  IFS='|' read -r file line code text <<<"$c"
  make_tree
  [[ $file == - ]] || printf '%s\n' "$line" >>"$tree/$file"
  set +e
  out=$("$check" "$tree" 2>&1)
  rc=$?
  set -e
  if [[ $rc != "$code" || $out != *"$text"* ]]; then
    echo "FAIL: ${file} += ${line}: exit $rc, expected $code with: $text"
    echo "$out"
    failed=1
  fi
done
((failed)) || echo "check_layering_test: ${#cases[@]} cases"
exit $failed
