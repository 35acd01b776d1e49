#!/usr/bin/env bash
# A Debian 13 root with its Wine (10.0), to run the Windows tests under a
# second Wine beside Debian 12's. Made with debootstrap and apt-get from the
# Debian mirror this machine's apt uses, kept outside the clone between runs
# and made again when missing or incomplete. Needs root.
#
#   scripts/debian13-root.sh make          makes the root unless it is ready;
#                                          exit 2 (with one line) when Debian's
#                                          packages cannot be reached
#   scripts/debian13-root.sh run CMD...    runs CMD inside the root, in the
#                                          clone (bound at the same path), with
#                                          /proc, /dev and /tmp of this machine
#
# DIRMIND_DEBIAN13_ROOT sets the folder (default /var/cache/dirmind/trixie),
# DIRMIND_DEBIAN_MIRROR the mirror.
set -euo pipefail

root="${DIRMIND_DEBIAN13_ROOT:-/var/cache/dirmind/trixie}"
clone=$(cd "$(dirname "$0")/.." && pwd -P)
packages=(wine wine64 wine32:i386 xvfb xauth fonts-wine fonts-ipafont-gothic locales cmake)
# Written last into a finished root; a root without it, or with another
# package list, is made again.
stamp="$root/.dirmind-root"
stamp_text="trixie ${packages[*]} ja_JP.UTF-8"

mirror() {
  if [ -n "${DIRMIND_DEBIAN_MIRROR:-}" ]; then echo "$DIRMIND_DEBIAN_MIRROR"; return; fi
  local found
  found=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
          grep -E '^[[:space:]]*(deb|URIs:)[[:space:]]' | grep -oE 'https?://[^[:space:]]+/debian/?([[:space:]]|$)' |
          head -n 1 | tr -d '[:space:]' || true)
  echo "${found:-http://deb.debian.org/debian}"
}

# Runs a command chrooted into $1, in a mount namespace of its own: the binds
# vanish with its last process, whatever way the command ends.
in_root() {
  local dir=$1; shift
  unshare --mount --propagation private -- /bin/bash -euc '
    dir=$1 clone=$2; shift 2
    mount -t proc proc "$dir/proc"
    for m in /dev /dev/pts /dev/shm /tmp; do
      mkdir -p "$dir$m"; mount --bind "$m" "$dir$m"
    done
    mkdir -p "$dir$clone"; mount --bind "$clone" "$dir$clone"
    cp /etc/resolv.conf "$dir/etc/resolv.conf" 2>/dev/null || true
    exec chroot "$dir" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin \
         HOME=/root TERM="${TERM:-dumb}" CI="${CI:-}" LANG=C.UTF-8 \
         /bin/bash -c "cd \"\$0\" && exec \"\$@\"" "$clone" "$@"
  ' in_root "$dir" "$clone" "$@"
}

make_root() {
  [ "$(cat "$stamp" 2>/dev/null)" = "$stamp_text" ] && return 0
  [ "$(id -u)" = 0 ] || { echo "== Debian 13 root not made: it needs root"; return 2; }
  local base url
  base=$(dirname "$root")
  url=$(mirror)
  mkdir -p "$base"
  exec 9>"$base/.lock"
  flock 9
  [ "$(cat "$stamp" 2>/dev/null)" = "$stamp_text" ] && return 0
  if ! wget -q --spider --timeout=20 --tries=2 "$url/dists/trixie/InRelease"; then
    echo "== Debian 13 root not made: $url cannot be reached; the tests under its Wine are skipped"
    return 2
  fi
  echo "== Making the Debian 13 root in $root from $url"
  rm -rf "$root".new.*
  local new
  new=$(mktemp -d "$root.new.XXXXXX")
  chmod 755 "$new"
  debootstrap --variant=minbase trixie "$new" "$url" >"$new.log" 2>&1 ||
    { tail -n 20 "$new.log"; echo "== debootstrap failed (log: $new.log)"; return 1; }
  in_root "$new" /bin/bash -euc '
    export DEBIAN_FRONTEND=noninteractive
    dpkg --add-architecture i386
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "$@" >/dev/null
    echo "ja_JP.UTF-8 UTF-8" >> /etc/locale.gen
    locale-gen >/dev/null
    apt-get clean
  ' apt "${packages[@]}" >>"$new.log" 2>&1 ||
    { tail -n 20 "$new.log"; echo "== Installing Wine in the Debian 13 root failed (log: $new.log)"; return 1; }
  echo "$stamp_text" > "$new/.dirmind-root"
  rm -rf "$root" "$new.log"
  mv "$new" "$root"
}

case "${1:-}" in
  make) make_root ;;
  run) shift; in_root "$root" "$@" ;;
  *) echo "usage: $0 make | run COMMAND [ARGS...]" >&2; exit 64 ;;
esac
