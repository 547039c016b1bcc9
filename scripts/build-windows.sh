#!/usr/bin/env bash
# Cross-builds zumbrajni.dll for Windows x86-64 with mingw-w64, and checks it:
# - it exports exactly the Java entry points that the Linux build exports, and
#   nothing else;
# - it imports only from KERNEL32, msvcrt and WS2_32, which every Windows has;
# - under wine, the WinSock client and a purchase over the whole library run
#   against the Linux build's simulated terminal;
# - under wine, zumbrajni.dll itself, loaded by a host that plays the Java
#   virtual machine, runs a purchase and its receipt through its Java entry
#   points over TCP and over the Win32 serial client (on a pseudo-terminal
#   that wine opens as COM9): at 8N1 115200 baud, at 7E1 9600 baud, and
#   against a terminal that never answers, where the serial time-out ends it.
#
#   scripts/build-windows.sh [<Linux build dir> [<Windows build dir>]]
#
# The Linux build dir (build/plain of scripts/test.sh) gives libzumbrajni.so
# and zq_terminal_simulator; without it only the DLL and its imports are
# checked. The Windows build dir defaults to build/windows.
#
# Without wine64 the Windows programs are built but not run. By hand that is
# a message; under CI (.ci/run sets ZQ_REQUIRE_WINE=1, and CI=true counts
# alike) it fails the run, so a machine without wine cannot skip the runs in
# silence.
set -euo pipefail
cd "$(dirname "$0")/.."
# Byte-wise matching and sorting of the tools' output, whatever the caller's
# locale: the export lists of both builds are compared sorted.
export LC_ALL=C

linux=${1:-}
dir=${2:-build/windows}
jobs=${ZQ_JOBS:-6}
# The number of Java entry points of the complete binding.
expected_java_entry_points=150

scripts/build-log4c-mingw.sh
# The toolchain is chosen once, by the first configure of the build dir.
toolchain=()
[[ -f $dir/CMakeCache.txt ]] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake)
cmake -S . -B "$dir" -G Ninja "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j "$jobs"
dll=$dir/zumbrajni.dll
status=0

if ! objdump -f "$dll" | grep -q "file format pei-x86-64"; then
  echo "$dll is not a Windows x86-64 DLL"; status=1
fi

imports=$(objdump -p "$dll" | awk '/DLL Name:/ { print toupper($3) }' | sort -u)
allowed=$(printf '%s\n' KERNEL32.DLL MSVCRT.DLL WS2_32.DLL)
if [[ $imports != "$allowed" ]]; then
  echo "zumbrajni.dll imports from:"; echo "$imports"
  echo "expected exactly:"; echo "$allowed"
  status=1
else
  echo "zumbrajni.dll imports from $(echo $imports)"
fi

exports=$(objdump -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && NF == 0 { on = 0 }
                                   on { print $NF }' | sort)
count=$(grep -c . <<<"$exports" || true)
if [[ -n $expected_java_entry_points && $count -ne $expected_java_entry_points ]]; then
  echo "zumbrajni.dll exports $count functions, expected $expected_java_entry_points"; status=1
fi
if [[ -n $linux ]]; then
  java=$(nm -D --defined-only "$linux/libzumbrajni.so" | awk '$3 ~ /^Java_/ { print $3 }' | sort)
  if [[ $exports != "$java" ]]; then
    echo "zumbrajni.dll exports differ from the Java entry points of the Linux build:"
    # diff answers 1 for the differences it shows, which must not end the
    # script before the wine runs.
    { diff <(echo "$java") <(echo "$exports") || true; } | sed -n 's/^< /  missing: /p; s/^> /  extra:   /p'
    status=1
  else
    echo "zumbrajni.dll exports the $count Java entry points of the Linux build, and nothing else"
  fi
else
  echo "zumbrajni.dll exports $count functions (no Linux build given to compare with)"
fi

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
if [[ -n $linux && -x $wine ]]; then
  export ZQ_WINE=$wine
  export WINEPREFIX=${WINEPREFIX:-$PWD/$dir/wineprefix}
  # Tests log to nothing on disk.
  export LOG4C_RCPATH=$PWD/tests/fixtures/default
  run=tests/link/windows/wine_against_simulator.sh
  simulator=$linux/tests/support/zq_terminal_simulator
  programs=$dir/tests/link/windows
  echo "== wine: the WinSock client against the simulated terminal"
  $run "$simulator" tests/link/windows/windows_tcp_client_check.script \
    "$programs/windows_tcp_client_check.exe" @PORT@ || status=1
  echo "== wine: a purchase and its receipt over the whole library"
  cat examples/purchase.script examples/receipt.script >"$programs/purchase-and-receipt.script"
  $run "$simulator" "$programs/purchase-and-receipt.script" "$programs/ecr_purchase.exe" 127.0.0.1 @PORT@ 1250 ||
    status=1

  # The host takes the DLL by its Windows path: wine's drive Z: is /.
  host=$dir/tests/jni/windows/jni_dll_host.exe
  dll_path=$(realpath "$dll")
  dll_path="Z:${dll_path//\//\\}"
  echo "== wine: zumbrajni.dll's Java entry points, a purchase and its receipt over TCP"
  $run "$simulator" "$programs/purchase-and-receipt.script" "$host" "$dll_path" tcp 127.0.0.1 @PORT@ || status=1
  # Data mode and baud rate as setSerialLink numbers them: 0 5 is 8N1 at
  # 115200, 1 0 is 7E1 at 9600.
  echo "== wine: the same over the Win32 serial client, 8N1 at 115200 baud"
  $run --serial COM9 115200 "$simulator" "$programs/purchase-and-receipt.script" \
    "$host" "$dll_path" serial COM9 0 5 || status=1
  echo "== wine: the same over the Win32 serial client, 7E1 at 9600 baud"
  $run --serial COM9 9600 "$simulator" "$programs/purchase-and-receipt.script" \
    "$host" "$dll_path" serial COM9 1 0 || status=1
  echo "== wine: a serial terminal that never answers, 8N1 at 19200 baud, time-out 500 ms"
  $run --serial COM9 19200 "$simulator" tests/jni/windows/silent_terminal.script \
    "$host" "$dll_path" silent COM9 0 1 500 || status=1
elif [[ -n $linux ]]; then
  echo "wine64 not installed: the Windows programs were built but not run"
  if [[ ${ZQ_REQUIRE_WINE:-} == 1 || ${CI:-} == true ]]; then
    echo "wine64 is required under CI: failing"
    status=1
  fi
fi
exit $status
