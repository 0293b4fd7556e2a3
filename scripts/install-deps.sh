#!/usr/bin/env bash
# Installs the Debian packages Murmora needs for the purposes named, where any is missing;
# with none named, for every purpose (what scripts/test.sh and CI need). Runs apt-get as root,
# or through sudo.
#   scripts/install-deps.sh build run      build the program and run the panel (scripts/run.sh)
#   scripts/install-deps.sh                everything below
set -euo pipefail
cd "$(dirname "$0")/.."

# The Build-Depends of the Debian package, less debhelper: the first of each set of
# alternatives, without versions or architectures.
build_depends() {
    awk '/^Build-Depends:/ { on = 1; sub(/^Build-Depends:/, ""); print; next }
         on && /^[ \t]/ { print; next }
         { on = 0 }' debian/control |
        tr '\n' ' ' | tr ',' '\n' | sed -E 's/\|.*//; s/\([^)]*\)//g; s/\[[^]]*\]//g; s/<[^>]*>//g; s/[[:space:]]//g' |
        grep -v -e '^$' -e '^debhelper-compat$'
}

declare -A purposes=(
    # build the program, its pictures and mci-shell
    [build]="build-essential $(build_depends)"
    # run the panel: a font for its texts, the encoder the Convert button starts, and Qt's own
    # texts (the file dialog's) in the user's language
    [run]="fonts-dejavu-core lame qt6-translations-l10n"
    # run it without a desktop: a screen of its own, and a screenshot of it (scripts/screenshot.sh)
    [screen]="xvfb xauth xdotool imagemagick"
    # the tests: GoogleTest, the fuzzers' clang, the desktop tools the real tests drive the panel
    # with, the private PulseAudio server and the sound tools that check what it recorded, the
    # locales and gettext's command the tests of the languages make and read, and groff, which
    # reads the translated manual pages
    [test]="libgtest-dev clang libclang-rt-dev x11-utils xclip faketime openbox locales gettext-base groff-base
            pulseaudio pulseaudio-utils alsa-utils sox libsox-fmt-mp3
            flac opus-tools"
    # PipeWire with its PulseAudio-compatible server, for the tests against it (not pipewire-alsa)
    [pipewire]="pipewire pipewire-pulse wireplumber dbus"
    # the fake desktop portal of the portal hotkey tests (GDBus through PyGObject), and KDE's
    # real portal with kglobalaccel, which the hotkeys are tested against too
    [portal]="python3-gi gir1.2-glib-2.0 xdg-desktop-portal xdg-desktop-portal-kde libkf5globalaccel-bin"
    # the accessibility bus and the screen reader's view of the program in the a11y tests
    [a11y]="at-spi2-core python3-pyatspi"
    # the screen reader the a11y tests listen to: Orca, speaking through speech-dispatcher and
    # eSpeak NG, and logging what it says
    [orca]="orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng python3-speechd"
    # the Windows build and LAME.exe from Debian's lame sources
    [windows]="g++-mingw-w64-x86-64-posix googletest dpkg-dev make zip"
    # the Windows build's tests
    [wine]="wine wine64"
    # the Debian package (scripts/package-deb.sh) and its checks
    [package]="debhelper dpkg-dev fakeroot lintian appstream desktop-file-utils"
)

wanted=("$@")
[ ${#wanted[@]} -gt 0 ] || wanted=(build run screen test pipewire portal a11y orca windows wine package)
packages=()
for purpose in "${wanted[@]}"; do
    [ -n "${purposes[$purpose]:-}" ] || { echo "install-deps: no purpose called $purpose (${!purposes[*]})" >&2; exit 2; }
    packages+=(${purposes[$purpose]}) # split at blanks and line ends
done

missing=()
for p in "${packages[@]}"; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
missing=($(printf '%s\n' "${missing[@]}" | sort -u))

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
