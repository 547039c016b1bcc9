#!/usr/bin/env bash
# Cross-builds log4c 1.2.4 for Windows x86-64 with mingw-w64, as a static
# library, from Debian's source package, into a prefix under build/ that later
# runs reuse. The Windows DLL links it from there (scripts/build-windows.sh).
#
# The source comes through the ordinary apt client from the machine's own
# Debian mirror and suites: a private apt configuration adds their deb-src
# twins for this run only, so the machine's apt setup stays untouched.
#
# usage: scripts/build-log4c-mingw.sh [prefix]   (default build/deps/log4c-x86_64-w64-mingw32)
set -euo pipefail
cd "$(dirname "$0")/.."

triplet=x86_64-w64-mingw32
prefix=${1:-$PWD/build/deps/log4c-$triplet}
jobs=${ZQ_JOBS:-6}

if [[ -f $prefix/lib/liblog4c.a && -f $prefix/lib/pkgconfig/log4c.pc ]]; then
  echo "log4c for $triplet: $prefix (cached)"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/log4c-mingw.XXXXXX")
trap 'rm -rf "$work"' EXIT

# deb-src entries for every configured deb entry: deb822 files and one-line lists.
mkdir -p "$work/apt/sources.list.d" "$work/apt/lists/partial" "$work/src"
for f in /etc/apt/sources.list.d/*.sources; do
  [[ -e $f ]] || continue
  sed 's/^Types:.*/Types: deb-src/' "$f" >"$work/apt/sources.list.d/$(basename "$f")"
done
: >"$work/apt/sources.list"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [[ -e $f ]] || continue
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >>"$work/apt/sources.list"
done
apt_opts=(
  -q
  -o Dir::Etc::SourceList="$work/apt/sources.list"
  -o Dir::Etc::SourceParts="$work/apt/sources.list.d"
  -o Dir::State::Lists="$work/apt/lists"
  -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
  -o APT::Sandbox::User=root
)
apt-get "${apt_opts[@]}" update >"$work/apt-update.log" 2>&1 || { cat "$work/apt-update.log"; exit 1; }

cd "$work/src"
# A mirror may lack the Debian packaging tarball; the upstream tarball and the
# signed description are then enough (checked below).
apt-get "${apt_opts[@]}" source --download-only log4c >"$work/apt-source.log" 2>&1 || true
dsc=$(ls log4c_1.2.4-*.dsc 2>/dev/null | head -n1 || true)
orig=log4c_1.2.4.orig.tar.gz
if [[ -z $dsc || ! -f $orig ]]; then
  cat "$work/apt-source.log"
  echo "log4c 1.2.4 source package not available from the configured Debian mirror" >&2
  exit 1
fi
# Every file that came must match the checksums of the description.
awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on { print $1 "  " $3 }' "$dsc" |
  while read -r sum name; do if [[ -f $name ]]; then echo "$sum  $name"; fi; done | sha256sum --quiet -c
if dpkg-source -x "$dsc" log4c-src >/dev/null 2>&1; then
  echo "log4c: $dsc unpacked with its Debian changes"
else
  echo "log4c: Debian packaging tarball not served; building the upstream tarball of $dsc"
  mkdir log4c-src
  tar -xzf "$orig" -C log4c-src --strip-components=1
fi

# The library only: no expat (log4c parses log4crc with its own reader);
# mingw-w64 has __builtin_alloca where log4c's Windows path asks for _alloca;
# and C99 printf, whose %zu and %lld the library's log lines use.
mkdir build && cd build
../log4c-src/configure --host="$triplet" CC="$triplet-gcc-posix" --prefix="$prefix" \
  --disable-shared --enable-static --without-expat \
  CPPFLAGS="-D_alloca=__builtin_alloca -D__USE_MINGW_ANSI_STDIO=1" \
  >configure.log 2>&1 || { tail -n 40 configure.log; exit 1; }
make -C src -j"$jobs" >make.log 2>&1 || { tail -n 40 make.log; exit 1; }

# Into a fresh prefix, moved in place at the end, so a broken run leaves no cache.
staging=$prefix.partial
rm -rf "$staging"
make -C src install-data prefix="$staging" >install.log 2>&1 || { tail -n 40 install.log; exit 1; }
install -D -m 644 src/log4c/.libs/liblog4c.a "$staging/lib/liblog4c.a"
install -D -m 644 log4c.pc "$staging/lib/pkgconfig/log4c.pc"
rm -rf "$prefix"
mv "$staging" "$prefix"
echo "log4c for $triplet: $prefix"
