#!/usr/bin/env bash
# The Debian package installed as a user installs it: a minimal Debian 12 root
# made with debootstrap, the package installed there with apt (which fetches
# its dependencies from the mirror this machine's apt uses), then zrcheck run
# inside the root on the example drawing.
#
#   debian_root_test.sh PACKAGE.deb WORK_DIR
#
# Exit 77 (skipped) when no root can be made here: not root, no debootstrap,
# no chroot, or the mirror cannot be reached. The base system is downloaded
# once and kept as a tarball under $ZR_DEBIAN_ROOT_CACHE (default
# /var/cache/zrconector-tests), so later runs only unpack it.
set -uo pipefail
deb=$1 work=$2
skip() { echo "debian root: skipped: $*"; exit 77; }
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

[ -f "$deb" ] || { echo "FAIL: no package $deb"; exit 1; }
[ "$(id -u)" -eq 0 ] || skip "not root"
command -v debootstrap >/dev/null || skip "no debootstrap (scripts/setup.sh installs it)"
command -v chroot >/dev/null || skip "no chroot"

# The mirror apt uses here, taken from its sources (deb822 or one-line).
mirror=$(sed -n 's/^URIs: *\(http[^ ]*debian\)\/*$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1)
[ -n "$mirror" ] || mirror=$(sed -n 's/^deb \(\[[^]]*\] \)\?\(http[^ ]*\) bookworm .*/\2/p' /etc/apt/sources.list 2>/dev/null | head -1)
[ -n "$mirror" ] || mirror=http://deb.debian.org/debian

cache=${ZR_DEBIAN_ROOT_CACHE:-/var/cache/zrconector-tests}
tarball=$cache/bookworm-minbase.tgz
mkdir -p "$cache" "$work" || skip "cannot write $cache"
rm -rf "$work/root"
root=$work/root
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null; done
  rm -rf "$root"
}
trap cleanup EXIT

if [ ! -s "$tarball" ]; then
  echo "debian root: downloading the base system from $mirror (once)"
  timeout 900 debootstrap --variant=minbase --make-tarball="$tarball.part" bookworm "$work/tarball" "$mirror" \
    >"$work/debootstrap-download.log" 2>&1 || { rm -rf "$tarball.part" "$work/tarball"; tail -5 "$work/debootstrap-download.log"; skip "debootstrap could not download the base system"; }
  mv "$tarball.part" "$tarball"
  rm -rf "$work/tarball"
fi
timeout 900 debootstrap --variant=minbase --unpack-tarball="$tarball" bookworm "$root" "$mirror" \
  >"$work/debootstrap.log" 2>&1 || { tail -5 "$work/debootstrap.log"; skip "debootstrap could not make the root"; }

# The root reaches the mirror as this machine does: its name resolution, its
# apt sources and settings.
cp /etc/resolv.conf /etc/hosts "$root/etc/" 2>/dev/null
if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
  rm -f "$root/etc/apt/sources.list"
  cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/"
fi
for conf in /etc/apt/apt.conf.d/99*; do [ -f "$conf" ] && cp "$conf" "$root/etc/apt/apt.conf.d/"; done
# The sanitizers of a checked build read /proc.
if mount -t proc proc "$root/proc" 2>/dev/null; then mounted+=("$root/proc"); fi

in_root=(chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
  DEBIAN_FRONTEND=noninteractive ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}")

timeout 600 "${in_root[@]}" apt-get update -qq >"$work/apt-update.log" 2>&1 || { tail -5 "$work/apt-update.log"; skip "apt in the root cannot reach the mirror"; }
cp "$deb" "$root/tmp/zrconector.deb"
if ! timeout 900 "${in_root[@]}" apt-get install -y -qq --no-install-recommends /tmp/zrconector.deb \
    >"$work/apt-install.log" 2>&1; then
  tail -20 "$work/apt-install.log"
  fail "apt-get install of the package in a Debian 12 root"
else
  out=$("${in_root[@]}" zrcheck --version) && [[ $out == "zrcheck "* ]] || fail "zrcheck --version in the root: $out"
  # The example drawing has problems on purpose: exit 1, a JSON report.
  out=$("${in_root[@]}" zrcheck --settings /usr/share/zrconector/examples/catalogue --json \
    /usr/share/zrconector/examples/drawing.dxf); status=$?
  [ $status -eq 1 ] && grep -q '"tool":"zrcheck"' <<<"$out" || fail "zrcheck on the example in the root: exit $status: ${out:0:300}"
  out=$("${in_root[@]}" zrdxf info /usr/share/zrconector/examples/drawing.dxf) || fail "zrdxf info in the root: ${out:0:300}"
  out=$(cd / && "${in_root[@]}" sh -c 'cd /usr/share/zrconector/examples && zrhost --load suite.scm --script show-connectors.scm drawing.dxf </dev/null 2>&1')
  status=$?
  [ $status -eq 0 ] && grep -q X1 <<<"$out" || fail "zrhost on the examples in the root: exit $status: ${out:0:300}"
  [ -e "$root/usr/share/man/man1/zrcheck.1.gz" ] || fail "no manual page zrcheck.1.gz in the root"
fi

[ $fails -eq 0 ] && echo "debian root: all checks passed" || echo "debian root: $fails failure(s)"
exit $((fails > 0))
