#!/usr/bin/env bash
# Checks a cross-built TPM tool as Windows will load it:
#   check_pe.sh trustprobe|certmint FILE OBJDUMP WINDRES
# the PE format and machine, the resources (trustprobe: the manifest asking
# for administrator rights, the icon), the exports (certmint: the two Java
# methods, nothing else) and the imports (Windows' own DLLs only, and the
# platform calls the tool is built on).
set -euo pipefail
# Byte-wise matching and sorting, whatever the caller's locale.
export LC_ALL=C
tool=$1 file=$2 objdump=$3 windres=$4

status=0
fail() { echo "FAILED: $tool: $*" >&2; status=1; }

headers=$("$objdump" -p "$file")
format=$("$objdump" -f "$file")

# "dll function" for every imported function, DLL names in lower case.
imports=$(awk '/^\tDLL Name:/ { dll = tolower($3); next }
               dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_][A-Za-z0-9_]*$/ { print dll, $3 }
               /^$/ { if (seen_table) dll = "" } /vma:  Hint/ { seen_table = 1 }' <<<"$headers")
exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && /^$/ { on = 0 }
               on { print $NF }' <<<"$headers")

expect_format() {  # pe-format magic
  grep -q "file format $1\$" <<<"$format" || fail "not $1: $(head -2 <<<"$format" | tail -1)"
  grep -q "^Magic.*$2" <<<"$headers" || fail "optional header is not $2"
}

# Every imported DLL is one of Windows' own: no compiler runtime, no JVM.
expect_only_dlls() {
  local dll
  for dll in $(cut -d' ' -f1 <<<"$imports" | sort -u); do
    [[ " $* " == *" $dll "* ]] || fail "imports $dll"
  done
}

expect_imports() {  # dll function...
  local dll=$1 fn; shift
  for fn in "$@"; do
    grep -qx "$dll $fn" <<<"$imports" || fail "does not import $fn from $dll"
  done
}

case $tool in
  trustprobe)
    expect_format pei-i386 "(PE32)"
    grep -q "^Subsystem.*(Windows CUI)" <<<"$headers" || fail "not a console program"
    resources=$("$windres" -i "$file" -O rc 2>&1) || fail "no resources"
    manifest=$(awk '/^1 24 \/\* RT_MANIFEST \*\//, /^END/' <<<"$resources")
    [[ -n $manifest ]] || fail "no application manifest (RT_MANIFEST 1)"
    grep -q 'requestedExecutionLevel level=""requireAdministrator"" uiAccess=""false""' <<<"$manifest" \
      || fail "the manifest does not ask for administrator rights"
    grep -q "RT_GROUP_ICON" <<<"$resources" || fail "no icon"
    [[ -z $exports ]] || fail "exports: $(tr "\n" " " <<<"$exports")"
    expect_only_dlls kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
    expect_imports ole32.dll CoInitializeEx CoInitializeSecurity CoCreateInstance CoSetProxyBlanket CoUninitialize
    expect_imports oleaut32.dll SysAllocString SysStringLen SysFreeString
    ;;
  certmint)
    expect_format pei-x86-64 "(PE32+)"
    grep -qx $'\tDLL' <<<"$headers" || fail "not a DLL"
    wanted=$'Java_pl_vostrel_pellmar_tpm_TpmJniInterface_genKeyCsr\nJava_pl_vostrel_pellmar_tpm_TpmJniInterface_importCert'
    [[ $(sort <<<"$exports") == "$wanted" ]] || fail "exports are not exactly the two Java methods: $(tr '\n' ' ' <<<"$exports")"
    expect_only_dlls kernel32.dll msvcrt.dll ole32.dll oleaut32.dll ncrypt.dll crypt32.dll
    expect_imports ncrypt.dll NCryptOpenStorageProvider NCryptCreatePersistedKey NCryptSetProperty \
      NCryptFinalizeKey NCryptFreeObject
    expect_imports crypt32.dll CryptStringToBinaryW CertOpenSystemStoreA CertCreateCertificateContext \
      CertSetCertificateContextProperty CertAddCertificateContextToStore CertCloseStore CertFreeCertificateContext
    expect_imports ole32.dll CoInitializeEx CLSIDFromProgID CoCreateInstance CoUninitialize
    expect_imports oleaut32.dll SysAllocString SysFreeString SysStringLen VariantInit VariantClear
    ;;
  *)
    echo "usage: check_pe.sh trustprobe|certmint FILE OBJDUMP WINDRES" >&2
    exit 2
    ;;
esac

((status == 0)) && echo "$tool: $(basename "$file") checked"
exit $status
