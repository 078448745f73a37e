#!/usr/bin/env bash
# Checks that the README's set-up commands work on a pristine Debian 12 machine: builds a minimal
# root with mmdebstrap from the package sources apt uses here, puts a clean clone of HEAD in it,
# runs the test command there, then starts the run command under Xvfb until its window shows.
# Needs root. Not part of CI: it takes many minutes.
# Usage: scripts/pristine-check.sh [--keep]
#   --keep  reuse the root built by an earlier run (the clone in it is made afresh)
# TARNWICK_PRISTINE_DIR chooses where the root is built (default /var/tmp/tarnwick-pristine).
# TARNWICK_PRISTINE_EXTRA names packages to install in the root first, to look past a known gap;
# the result then says so. TARNWICK_PRISTINE_TIMEOUT limits the test command (default 5400 s).
set -euo pipefail

keep=0
case "${1:-}" in
  --keep) keep=1 ;;
  "") ;;
  *) echo "usage: $0 [--keep]" >&2; exit 2 ;;
esac
if [ "$(id -u)" -ne 0 ]; then
  echo "pristine-check: needs root (chroot and mounts)" >&2
  exit 2
fi

repo="$(cd "$(dirname "$0")/.." && pwd)"
work="${TARNWICK_PRISTINE_DIR:-/var/tmp/tarnwick-pristine}"
root="$work/root"
started=$(date +%s)

say() { echo "== pristine-check [$(($(date +%s) - started))s]: $*"; }

mounted=()
cleanup() {
  local i
  # Anything the run left behind (Xvfb, the program) would keep the mounts busy.
  if [ -d "$root/proc" ]; then
    for p in /proc/[0-9]*; do
      [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null
    done
  fi
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -l "${mounted[$i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT

install_tools() {
  command -v mmdebstrap >/dev/null && command -v git >/dev/null && return 0
  export DEBIAN_FRONTEND=noninteractive
  for _ in $(seq 30); do
    apt-get update -qq && apt-get install -y -qq --no-install-recommends mmdebstrap git && return 0
    echo "apt is busy; retrying in 20 s" >&2
    sleep 20
  done
  echo "pristine-check: could not install mmdebstrap" >&2
  return 1
}

build_root() {
  local sources=() opts=() f
  # The same sources apt uses here, in either format, skipping disabled files.
  [ -s /etc/apt/sources.list ] && sources+=(/etc/apt/sources.list)
  for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -s "$f" ] && sources+=("$f")
  done
  [ ${#sources[@]} -gt 0 ] || { echo "pristine-check: no apt sources found" >&2; return 1; }
  # Settings this machine's apt relies on to reach those sources (proxies, old release files).
  while IFS= read -r line; do
    opts+=(--aptopt="$line")
  done < <(apt-config dump | grep -E '^Acquire::(Check-Valid-Until|Check-Date|https?::Proxy) ')
  if grep -q " $root/" /proc/mounts; then
    echo "pristine-check: something is still mounted in $root; unmount it first" >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
  mkdir -p "$work"
  mmdebstrap --mode=root --variant=apt "${opts[@]}" bookworm "$root" "${sources[@]}"
}

mount_root() {
  local m
  for m in proc sys dev dev/pts; do
    mkdir -p "$root/$m"
  done
  mount -t proc proc "$root/proc" && mounted+=("$root/proc")
  mount -t sysfs sys "$root/sys" && mounted+=("$root/sys")
  mount --bind /dev "$root/dev" && mounted+=("$root/dev")
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts" && mounted+=("$root/dev/pts")
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
}

in_root_cmd=(chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
  TMPDIR=/var/tmp/pristine-tmp /bin/bash -c)
in_root() { "${in_root_cmd[@]}" "$1"; }
# X servers also listen on abstract sockets, which belong to the network namespace, not to the
# file system: without a namespace of its own the root's clients would meet this machine's X
# servers. So everything after the package installs runs offline, with only a loopback.
in_root_offline() {
  unshare --net -- sh -c 'ip link set lo up 2>/dev/null || true; exec "$@"' sh \
    "${in_root_cmd[@]}" "$1"
}

install_tools
if [ $keep -eq 1 ] && [ -x "$root/usr/bin/apt-get" ]; then
  say "reusing the root in $root"
else
  say "building a minimal Debian 12 root in $root"
  build_root
fi

say "cloning $(git -C "$repo" rev-parse --short HEAD) (committed work only) into the root"
rm -rf "$root/src"
git clone -q --no-hardlinks "$repo" "$root/src"
git -C "$root/src" checkout -q --detach "$(git -C "$repo" rev-parse HEAD)"
rm -rf "$root/var/tmp/pristine-tmp"
mkdir -p "$root/var/tmp/pristine-tmp"
mount_root

result=0
extra="${TARNWICK_PRISTINE_EXTRA:-}"
if [ -n "$extra" ]; then
  say "installing packages the project does not ask for: $extra"
  in_root "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends $extra >/dev/null"
fi
say "installing what the test command needs: scripts/install-deps.sh --test"
in_root 'cd /src && scripts/install-deps.sh --test' || { say "FAIL: the install step failed"; exit 1; }
say "running the test command offline: scripts/test.sh"
if in_root_offline "cd /src && timeout -k 30 ${TARNWICK_PRISTINE_TIMEOUT:-5400} scripts/test.sh"; then
  say "test command passed"
else
  say "test command FAILED"
  result=1
fi

say "starting the run command under Xvfb until its window shows"
# The run command builds before it opens the window, so the wait allows for a build.
if in_root_offline '
  cd /src
  scripts/install-deps.sh
  Xvfb :93 -screen 0 1024x768x24 -nolisten tcp >/var/tmp/pristine-tmp/xvfb.log 2>&1 &
  export DISPLAY=:93
  scripts/run.sh >/var/tmp/pristine-tmp/run.log 2>&1 &
  run=$!
  found=""
  for _ in $(seq 900); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"Tarnwick"; then found=1; break; fi
    kill -0 $run 2>/dev/null || break
    sleep 1
  done
  xwininfo -root -tree 2>/dev/null | grep "\"Tarnwick" || true
  kill $run 2>/dev/null
  tail -20 /var/tmp/pristine-tmp/run.log
  [ -n "$found" ]'; then
  say "the window showed"
else
  say "the window did NOT show"
  result=1
fi

if [ $result -eq 0 ]; then
  say "PASS${extra:+ (only with the extra packages: $extra)}"
else
  say "FAIL"
fi
exit $result
