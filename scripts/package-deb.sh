#!/usr/bin/env bash
# Builds the Debian package from this source tree (its files as they are now, without the
# build folders) into build-deb/murmora_VERSION_ARCH.deb, and checks it: lintian shows no
# error and no warning (the info tags it shows are listed in the README), appstreamcli
# validates the AppStream metadata with no warning, desktop-file-validate the desktop entry.
# Installs what building and checking it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "package-deb: $*" >&2; exit 1; }
scripts/install-deps.sh build package

# One version: the project's, in the changelog and in the AppStream release list.
version=$(sed -n 's/^project(murmora VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
[ "$(dpkg-parsechangelog -S Version)" = "$version" ] ||
    fail "debian/changelog is at $(dpkg-parsechangelog -S Version), the project at $version"
metainfo=app/io.github.murmora.Murmora.metainfo.xml
grep -q "<release version=\"$version\"" "$metainfo" || fail "$metainfo has no release $version"

out=build-deb
source="$out/src/murmora-$version"
rm -rf "$out"
mkdir -p "$source"
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -C "$source" -xf -

echo "== building the package of murmora $version"
log=$PWD/$out/build.log
if ! (cd "$source" && DEB_BUILD_OPTIONS="parallel=2 ${DEB_BUILD_OPTIONS:-}" dpkg-buildpackage -b -us -uc) >"$log" 2>&1; then
    tail -40 "$log" >&2
    fail "the build failed; the whole log is $log"
fi
mv "$out"/src/*.deb "$out"/src/*.changes "$out"/src/*.buildinfo "$out"/
find "$out/src" -maxdepth 1 -name '*.ddeb' -exec mv {} "$out"/ \;
deb=$(ls "$out"/murmora_"$version"_*.deb)
echo "$deb:"
dpkg-deb --contents "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, "  "); print }'

echo "== lintian"
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$out"/murmora_"$version"_*.changes ||
    fail "lintian found errors or warnings"

echo "== appstreamcli validate"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
said=$(appstreamcli validate --no-net "$unpacked/usr/share/metainfo/io.github.murmora.Murmora.metainfo.xml" 2>&1) ||
    { echo "$said"; fail "the AppStream metadata is not valid"; }
echo "$said"
! grep -q '^[EW]:' <<<"$said" || fail "appstreamcli gives errors or warnings"
desktop-file-validate "$unpacked/usr/share/applications/io.github.murmora.Murmora.desktop" ||
    fail "the desktop entry is not valid"
echo "Built and checked $deb"
