#!/usr/bin/env bash
# Installs dist/zuohao_<version>_amd64.deb into a fresh Debian root (debootstrap, minbase,
# the suite and mirror this machine's apt sources name) and starts `zuohao --demo` there on
# a virtual X server; saves a screenshot as dist/deb-demo.png. Needs root.
# usage: scripts/package/check-deb.sh [path/to/zuohao.deb]
set -euo pipefail
cd "$(dirname "$0")/../.."
deb=${1:-$(ls dist/zuohao_*_amd64.deb | tail -1)}
for tool in debootstrap Xvfb import; do
  command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install debootstrap xvfb imagemagick)" >&2; exit 1; }
done
# The mirror and suite already configured on this machine.
uri=$( (cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null || true) | awk '
  /security/ { next }
  $1 == "URIs:" { print $2; exit }
  $1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }')
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
root=$(mktemp -d "${TMPDIR:-/tmp}/zuohao-debroot.XXXXXX")
xvfb_pid=
# The host's /dev, /proc and /sys are bound into the root: it is removed only once none of
# them is mounted there any more, and never across a file system boundary.
unmount_all() {
  local m
  for m in dev/pts dev sys proc; do
    mountpoint -q "$root/$m" || continue
    umount "$root/$m" 2>/dev/null || umount --lazy "$root/$m" 2>/dev/null || true
  done
  for m in dev/pts dev sys proc; do
    if mountpoint -q "$root/$m"; then
      echo "still mounted: $root/$m" >&2
      return 1
    fi
  done
  # Anything else below the root (a mount made by a package's scripts, for example).
  if findmnt -rn -o TARGET | grep -q "^$root/"; then
    echo "still mounted below $root:" >&2
    findmnt -rn -o TARGET | grep "^$root/" >&2
    return 1
  fi
}
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  if unmount_all; then
    rm -rf --one-file-system "$root"
  else
    echo "==> $root is left in place: unmount what is listed above, then remove it" >&2
  fi
}
trap cleanup EXIT
echo "==> debootstrap $suite from $uri"
debootstrap --variant=minbase "$suite" "$root" "$uri" >/dev/null
for m in proc sys dev dev/pts; do mount --bind "/$m" "$root/$m"; done
cp /etc/resolv.conf "$root/etc/"
cp "$deb" "$root/tmp/zuohao.deb"
echo "==> apt-get install ./$(basename "$deb") in the fresh root"
chroot "$root" bash -c 'apt-get update -q >/dev/null && apt-get install -y -q /tmp/zuohao.deb >/tmp/install.log 2>&1 || { tail -20 /tmp/install.log; exit 1; }'
Xvfb -displayfd 9 -screen 0 1366x768x24 -nolisten tcp 9>"$root/tmp/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$root/tmp/display" ] && break; sleep 0.1; done
display=":$(tr -d '[:space:]' <"$root/tmp/display")"
mkdir -p dist
chroot "$root" env DISPLAY="$display" HOME=/root XDG_RUNTIME_DIR=/tmp/rt LANG=C.UTF-8 bash -c \
  'mkdir -p -m 700 /tmp/rt; timeout 25 zuohao --demo --demo-interval 2 >/tmp/zuohao.log 2>&1' &
app=$!
sleep 15
kill -0 "$app" 2>/dev/null || { cat "$root/tmp/zuohao.log"; echo "zuohao ended early" >&2; exit 1; }
DISPLAY=$display import -window root dist/deb-demo.png
wait "$app" || true # ended by its timeout
echo "==> zuohao --demo runs from the package; screenshot: dist/deb-demo.png"
