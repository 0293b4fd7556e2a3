#!/usr/bin/env bash
# The Debian package as a user gets it: built from this source tree and checked
# (scripts/package-deb.sh: lintian, appstreamcli), installed with apt-get, the installed
# program recording a take and converting it (installed_program_test.sh), purged. Afterwards
# nothing the package installed is left, and the machine has the packages it had before.
# Needs root (or sudo) and a build tree with the tests (for the reference message box); runs
# under the test run's X server, or an Xvfb of its own when there is no DISPLAY.
# A machine that has the package installed already is left alone: the test skips (fails in CI).
set -euo pipefail
cd "$(dirname "$0")/../.."
here=tests/package
SKIP=77
fail() { echo "FAIL: $*" >&2; exit 1; }
unavailable() {
    if [ "${CI:-}" = true ]; then fail "$*"; fi
    echo "SKIP: $*"; exit $SKIP
}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# Installed, or purged not yet (its configuration files left).
installed() { dpkg-query -W -f='${Status}\n' murmora 2>/dev/null | grep -qv 'not-installed$'; }
installed && unavailable "the package murmora is on this machine already; this test installs and purges it"
reference=build/message_box_reference
[ -x "$reference" ] || fail "no $reference: build the tests first (scripts/build.sh)"

scripts/package-deb.sh
deb=$(ls "$PWD"/build-deb/murmora_*.deb | grep -v dbgsym)

work=$(mktemp -d /tmp/murmora-package.XXXXXX)
xvfb=
cleanup() {
    set +e
    if installed; then
        echo "== purging the package after a failure"
        $sudo apt-get purge -y -qq murmora >/dev/null
    fi
    # Whatever apt installed for the package goes too.
    local added
    added=$(comm -13 "$work/before" <(packages_now))
    [ -z "$added" ] || $sudo apt-get purge -y -qq $added >/dev/null
    [ -n "$xvfb" ] && kill "$xvfb"
    rm -rf "$work"
}
packages_now() { dpkg-query -W -f='${binary:Package} ${Version} ${db:Status-Abbrev}\n' | sort; }
packages_now >"$work/before"
trap cleanup EXIT

echo "== apt-get install ./$(basename "$deb")"
(cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$(basename "$deb")") \
    >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get could not install the package"; }
dpkg-query -L murmora | sort >"$work/files"
for path in /usr/bin/murmora /usr/share/applications/io.github.murmora.Murmora.desktop \
            /usr/share/metainfo/io.github.murmora.Murmora.metainfo.xml /usr/share/man/man1/murmora.1.gz \
            /usr/share/icons/hicolor/48x48/apps/murmora.png; do
    [ -f "$path" ] || fail "the package did not install $path"
done
# Each language the build speaks: its catalogue, where the installed program looks, and its
# manual page.
for language in $(grep -v '^#' po/LINGUAS); do
    for path in /usr/share/locale/$language/LC_MESSAGES/murmora.mo /usr/share/man/$language/man1/murmora.1.gz; do
        [ -f "$path" ] || fail "the package did not install $path"
    done
done
[ "$(readlink -f /usr/lib/murmora/LAME.exe)" = "$(readlink -f /usr/bin/lame)" ] ||
    fail "/usr/lib/murmora/LAME.exe does not lead to lame: $(ls -l /usr/lib/murmora 2>&1)"
! grep -q '^/usr/bin/LAME.exe$' "$work/files" || fail "the package puts LAME.exe into /usr/bin"

if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$work/display")"
fi
bash "$here/installed_program_test.sh" /usr/bin/murmora "$reference" "$PWD/tests/fixtures/audio-env.sh"

echo "== apt-get purge murmora"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq murmora >/dev/null
! installed || fail "murmora is still known to dpkg: $(dpkg -l murmora | tail -n1)"
left=$(grep -vx '/\.' "$work/files" | while read -r path; do
           # Folders the package shares with others stay; its own go.
           if [ -L "$path" ] || [ -f "$path" ]; then echo "$path"
           elif [ -d "$path" ] && ! dpkg-query -S "$path" >/dev/null 2>&1; then echo "$path"; fi
       done)
[ -z "$left" ] || fail "left after the purge: $left"
added=$(comm -13 "$work/before" <(packages_now))
[ -z "$added" ] || echo "== purging what apt installed with it: $added"
[ -z "$added" ] || $sudo apt-get purge -y -qq $added >/dev/null
changed=$(diff "$work/before" <(packages_now)) || fail "the machine's packages changed: $changed"
echo "PASS: the package built, passed its checks, installed, recorded and converted, and purged clean"
