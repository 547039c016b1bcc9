#!/usr/bin/env bash
# Proves that a bare Debian 12 machine runs the README's test command: makes a
# fresh minimal root (debootstrap --variant=minbase bookworm from the Debian
# mirror this machine's apt uses, plus git), clones the repository's
# committed state into it with that git, and runs scripts/test.sh inside it
# (chroot, with /proc, /sys, /dev and /dev/pts mounted) with an environment
# as bare as a container's: PATH, HOME and TERM=dumb only, so no locale.
# Whatever the test command needs beyond that, scripts/setup-debian.sh must
# install.
#
# A tool for checking the set-up, not a CI step. Run it as root on a Debian
# or Ubuntu machine with network access and a few GB of disk:
#
#   scripts/fresh-root-check.sh [work-dir]     default /var/tmp/zq-fresh-root
#
# The root is made anew on every run and removed afterwards (ZQ_KEEP_ROOT=1
# keeps it for a look inside); the mounts are undone on every way out. The
# test command runs on at most six CPUs (ZQ_FRESH_ROOT_CPUS sets the count).
# Its output goes to <work-dir>/test.log as well as to the terminal. Exit
# status: that of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

if [[ $(id -u) -ne 0 ]]; then
  echo "fresh-root-check: needs root (debootstrap, mount, chroot)" >&2
  exit 2
fi

work=${1:-/var/tmp/zq-fresh-root}
root=$work/root
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

# The first Debian source of this machine serving the given suite; a fallback
# otherwise. Reads both the one-line and the deb822 form.
debian_source() {
  local suite=$1 fallback=$2 found
  found=$({
    sed -E 's/\[[^]]*\]//' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk -v suite="$suite" '$1 == "deb" && $3 == suite { print $2 }'
    awk -v suite="$suite" '
      /^URIs:/ { uri = $2 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) print uri }
      /^$/ { uri = "" }' /etc/apt/sources.list.d/*.sources 2>/dev/null
  } | head -n 1)
  echo "${found:-$fallback}"
}

mounted_under_root() {
  awk -v root="$root" '$2 == root || index($2, root "/") == 1 { print $2 }' /proc/mounts | sort -r
}

unmount_all() {
  local point
  for point in $(mounted_under_root); do
    umount "$point" 2>/dev/null || umount -l "$point"
  done
}

remove_root() {
  unmount_all
  if [[ -n $(mounted_under_root) ]]; then
    # Never delete through a mount: /dev is the machine's own.
    echo "fresh-root-check: still mounted under $root, not removed:" >&2
    mounted_under_root >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}

finish() {
  local status=$?
  if [[ ${ZQ_KEEP_ROOT:-0} == 1 ]]; then
    unmount_all
    echo "fresh-root-check: the root stays in $root"
  else
    remove_root || status=1
  fi
  exit "$status"
}

if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 debootstrap
fi

mirror=$(debian_source bookworm http://deb.debian.org/debian)
security=$(debian_source bookworm-security http://deb.debian.org/debian-security)

started=$SECONDS
mkdir -p "$work"
# What an earlier run left behind.
remove_root
trap finish EXIT
trap 'exit 130' INT TERM

echo "== a minimal Debian 12 root from $mirror"
debootstrap --variant=minbase --include=git --keyring="$keyring" bookworm "$root" "$mirror" \
  >"$work/debootstrap.log" 2>&1 || { tail -n 30 "$work/debootstrap.log"; exit 1; }
# The sources of a freshly installed Debian 12.
rm -f "$root/etc/apt/sources.list"
cat >"$root/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $mirror
Suites: bookworm bookworm-updates
Components: main
Signed-By: $keyring

Types: deb
URIs: $security
Suites: bookworm-security
Components: main
Signed-By: $keyring
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo "   $((SECONDS - started)) s"

echo "== the committed state of $(git -C "$repo" rev-parse --short HEAD), cloned by the root's git"
git -C "$repo" bundle create "$root/root/libzumbrajni.bundle" HEAD 2>/dev/null
commit=$(git -C "$repo" rev-parse HEAD)
chroot "$root" git clone -q /root/libzumbrajni.bundle /root/libzumbrajni
chroot "$root" git -C /root/libzumbrajni checkout -q "$commit"

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"

cpus=${ZQ_FRESH_ROOT_CPUS:-$(($(nproc) < 6 ? $(nproc) : 6))}
echo "== scripts/test.sh inside the root, on $cpus CPUs"
tested=$SECONDS
status=0
# An environment as bare as a container's: no locale, nothing of this
# machine's but a proxy it needs to reach the mirror.
taskset -c "0-$((cpus - 1))" chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  ${http_proxy:+http_proxy=$http_proxy} ${https_proxy:+https_proxy=$https_proxy} \
  bash -c 'cd /root/libzumbrajni && scripts/test.sh' 2>&1 | tee "$work/test.log" || status=$?
echo "== scripts/test.sh: exit status $status after $((SECONDS - tested)) s; $((SECONDS - started)) s in all"
exit "$status"
