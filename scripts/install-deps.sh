#!/usr/bin/env bash
# Installs the Debian packages Murmora needs to build, run and test, where any is missing.
# Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    # build
    build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libpulse-dev portaudio19-dev libsndfile1-dev
    libxcb1-dev libxcb-keysyms1-dev libgtest-dev clang libclang-rt-dev
    # run and test
    xvfb xauth xdotool x11-utils xclip faketime imagemagick fonts-dejavu-core openbox
    pulseaudio pulseaudio-utils alsa-utils sox libsox-fmt-mp3 lame
    # PipeWire with its PulseAudio-compatible server, for the tests against it (not pipewire-alsa)
    pipewire pipewire-pulse wireplumber dbus
    # the fake desktop portal of the portal hotkey tests (GDBus through PyGObject)
    python3-gi gir1.2-glib-2.0
    # the accessibility bus and the screen reader's view of the program in the a11y tests
    at-spi2-core python3-pyatspi
    # the Windows build, its tests under Wine, and LAME.exe from Debian's lame sources
    g++-mingw-w64-x86-64-posix googletest wine wine64 dpkg-dev make zip
)

missing=()
for p in "${packages[@]}"; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
