#!/usr/bin/env bash
# The tests again on a fresh Debian 13 (trixie): a chroot made by debootstrap from this machine's
# Debian mirror, with /proc, /sys, /dev and /dev/shm bound in, and removed at the end. A clone of
# this checkout is built there and tested by scripts/test.sh with trixie's own GCC, Qt, sound
# servers, package tools and Wine, less what the Debian 12 pass proves the same way: the Windows
# programs are not cross-built again (the build-windows/ of this checkout, when there is one, is
# tested under trixie's Wine), and the fuzzers do not run.
# Runs as root (through sudo otherwise). Arguments go to ctest, as scripts/test.sh's do.
#   MURMORA_TRIXIE_ROOT=DIR   keep the chroot in DIR, and use it again when it is there already
#                             (default: a new folder under /var/tmp, removed at the end)
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" = 0 ] || exec sudo --preserve-env=MURMORA_TRIXIE_ROOT "$0" "$@"
checkout=$(pwd -P)

# The first Debian mirror this machine's apt names (deb822 or one-line sources).
mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '/^URIs:/ && $2 !~ /security/ { print $2; exit }')
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $0 !~ /security/ { print ($2 ~ /^\[/ ? $3 : $2); exit }' /etc/apt/sources.list 2>/dev/null)
[ -n "$mirror" ] || mirror=http://deb.debian.org/debian
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap

keep=false
[ -n "${MURMORA_TRIXIE_ROOT:-}" ] && keep=true
root=${MURMORA_TRIXIE_ROOT:-$(mktemp -d /var/tmp/murmora-trixie.XXXXXX)}
mkdir -p "$root"
root=$(cd "$root" && pwd -P)

# Ends whatever still runs in the chroot, unbinds everything, and only then removes it (unless
# it is to be kept): a bind still in place would take its source with it.
cleanup() {
    local proc
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && kill -9 "${proc#/proc/}" 2>/dev/null
    done
    sleep 0.5
    findmnt -Rn -o TARGET --list | grep -F "$root/" | sort -r | while read -r target; do
        umount -l "$target" 2>/dev/null || true
    done
    if findmnt -Rn -o TARGET --list | grep -qF "$root/"; then
        echo "test-debian13: $root still has mounts; not removed" >&2
        return 0
    fi
    $keep || rm -rf "$root"
}
trap cleanup EXIT

started=$SECONDS
if [ ! -f "$root/etc/debian_version" ]; then
    echo "== Debian 13 from $mirror into $root"
    debootstrap --variant=minbase --include=ca-certificates,git,sudo,locales trixie "$root" "$mirror" \
        >"$root.debootstrap.log" 2>&1 || { tail -20 "$root.debootstrap.log" >&2; exit 1; }
    rm -f "$root.debootstrap.log"
    echo "debootstrap: $((SECONDS - started)) s"
fi

for fs in proc sys dev dev/shm; do
    mkdir -p "$root/$fs"
    mount --bind "/$fs" "$root/$fs"
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
rm -rf "$root/murmora"
git clone --quiet "$checkout" "$root/murmora"

# The Windows programs of this checkout, at the path they were built at: their tests name it.
windows_build=
if [ -x "$checkout/build-windows/murmora.exe" ]; then
    mkdir -p "$root$checkout"
    mount --bind "$checkout" "$root$checkout"
    windows_build=$checkout/build-windows
fi

# A fresh machine's environment: no locale, no display, root's own home.
chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root TERM=dumb MURMORA_FUZZ_SECONDS=0 MURMORA_WINDOWS_BUILD="$windows_build" \
    MURMORA_SKIP_WINDOWS=$([ -n "$windows_build" ] && echo 0 || echo 1) \
    bash -c 'cd /murmora && scripts/test.sh "$@"' _ "$@"
echo "Debian 13 pass: $((SECONDS - started)) s"
