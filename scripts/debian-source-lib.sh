# Shared by the scripts that cross-build a library or program for Windows from Debian's source
# package (scripts/build-*-windows.sh). Source it from the top of the source tree.
#   debian_source PACKAGE WORK   unpacks PACKAGE's source once into WORK (Debian's patches
#                                applied) and prints the folder it is in
#   run_logged LOG WHAT CMD...   runs CMD with its output in LOG; on failure shows LOG's end
#   build_static_library PACKAGE LIBRARY PREFIX [CONFIGURE ARGS...]
#                                cross-builds PACKAGE's LIBRARY (libLIBRARY.a), static, with its
#                                own configure script and installs it into PREFIX
# Adds a deb-src line for the system's own suite when apt has none; that part runs as root, or
# through sudo. Needs dpkg-dev (scripts/install-deps.sh).
MINGW_HOST=x86_64-w64-mingw32

# The mirror that serves the system's suite and the key it is signed with (apt refuses a second
# entry for the same mirror and suite with another key), from either form of apt's sources:
# "URI KEY", the key possibly empty.
main_mirror() {
    local suite=$1
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk -v suite="$suite" '
        function done() { if (found && uri) { print uri, key; exit } found = 0; uri = key = "" }
        /^$/ { done() }
        /^URIs:/ { uri = $2 }
        /^Signed-By:/ { key = $2 }
        /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) found = 1 }
        END { done() }'
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | awk -v suite="$suite" '
        $1 == "deb" {
            key = ""
            if (match($0, /signed-by=[^] ]+/)) key = substr($0, RSTART + 10, RLENGTH - 10)
            sub(/^deb +(\[[^]]*\] +)?/, "")
            if ($2 == suite) { print $1, key; exit }
        }'
}

# Makes apt know PACKAGE's source package, adding a deb-src line where it has none.
need_deb_src() {
    apt-cache showsrc "$1" 2>/dev/null | grep -q "^Package: " && return 0
    local sudo="" mirror key line
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    . /etc/os-release
    read -r mirror key < <(main_mirror "$VERSION_CODENAME" || true)
    [ -n "${mirror:-}" ] || { echo "no apt source for $VERSION_CODENAME to add a deb-src line for" >&2; return 1; }
    line="deb-src ${key:+[signed-by=$key] }$mirror $VERSION_CODENAME main"
    echo "Adding to apt's sources: $line" >&2
    echo "$line" | $sudo tee /etc/apt/sources.list.d/murmora-deb-src.list >/dev/null
    $sudo apt-get update -qq
}

debian_source() {
    local package=$1 work=$2 src
    mkdir -p "$work"
    src=$(find "$work" -maxdepth 1 -type d -name "$package-*" | head -n1)
    if [ -z "$src" ]; then
        need_deb_src "$package" >&2 || return 1
        (cd "$work" && apt-get source -qq "$package" >/dev/null 2>&1 || unpack_fetched "$package") || {
            echo "apt-get source $package failed" >&2; return 1; }
        src=$(find "$work" -maxdepth 1 -type d -name "$package-*" | head -n1)
    fi
    echo "$src"
}

# Unpacks a source package whose files apt fetched, all but the upstream signature, which a
# mirror may lack: apt has checked the hashes of what it fetched against its signed index.
unpack_fetched() {
    local dsc
    dsc=$(ls "$1"_*.dsc 2>/dev/null | head -n1)
    [ -n "$dsc" ] && dpkg-source --no-check -x "$dsc" >/dev/null
}

run_logged() {
    local log=$1 what=$2
    shift 2
    if ! "$@" >"$log" 2>&1; then
        tail -30 "$log" >&2
        echo "$what: the build failed; the whole log is $log" >&2
        return 1
    fi
}

build_static_library() {
    local package=$1 library=$2 prefix=$3 src
    shift 3
    [ -f "$prefix/lib/lib$library.a" ] && [ "$prefix/lib/lib$library.a" -nt "$0" ] && return 0
    src=$(debian_source "$package" "$prefix/src") || return 1
    configure_and_install() ( # in a subshell: the cd stays inside
        cd "$src"
        # Configured again whenever its arguments change.
        if [ ! -f Makefile ] || [ "$(cat .murmora-configured 2>/dev/null)" != "$*" ]; then
            [ ! -f Makefile ] || make distclean
            ./configure --host=$MINGW_HOST CC=$MINGW_HOST-gcc-posix CXX=$MINGW_HOST-g++-posix \
                --prefix="$prefix" --disable-shared --enable-static --disable-dependency-tracking \
                CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib -static" \
                PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH= "$@"
            echo "$*" >.murmora-configured
        fi
        make -j2 && make install
    )
    run_logged "$prefix/src/$package.log" "$package for Windows" configure_and_install "$@" || return 1
    touch "$prefix/lib/lib$library.a"
    echo "Built lib$library.a from $(basename "$src")" >&2
}
