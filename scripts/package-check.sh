#!/bin/sh
# Builds the packages from the native and Win32 build directories and checks
# them: the .deb and .tar.gz contents, the install tree, the Windows .zip and
# version resource, the man page, and (as root) that the installed .deb runs
# the README's example.
#   sh scripts/package-check.sh [BUILD_DIR] [WIN_BUILD_DIR]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
winbuild=${2:-build-win}
# The version and the Win32 build's Wine loader, as CMake knows them.
cache() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"; }
version=$(cache "$build" CMAKE_PROJECT_VERSION)
[ -n "$version" ] || { echo "package-check: no project version in $build" >&2; exit 1; }
expected=$(printf 'TRUE|20|24|0|very|string|\r')
fail() { echo "package-check: $*" >&2; exit 1; }

(cd "$build" && cpack -G "DEB;TGZ" >/dev/null)
deb=$(ls "$build"/tokloc_${version}_*.deb)
tgz=$(ls "$build"/tokloc-${version}-*.tar.gz)
listing=$(dpkg-deb -c "$deb")
for f in ./usr/bin/tokloc ./usr/share/man/man1/tokloc.1 ./usr/share/doc/tokloc/copyright; do
  echo "$listing" | grep -q " $f\$" || fail "$deb lacks $f"
done
[ "$(dpkg-deb -f "$deb" Package)" = tokloc ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong package version"
dpkg-deb -f "$deb" Description | grep -q "token" || fail "no description"
listing=$(tar -tzf "$tgz")
echo "$listing" | grep -q "/bin/tokloc\$" || fail "$tgz lacks bin/tokloc"

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/tokloc" ] || fail "install lacks bin/tokloc"
[ -f "$prefix/share/man/man1/tokloc.1" ] || fail "install lacks the man page"
[ "$("$prefix/bin/tokloc" "This is not a very long string" long)" = "$expected" ] || fail "installed tokloc gave another line"

lint=$(groff -ww -man -z docs/tokloc.1 2>&1)
[ -z "$lint" ] || fail "man page warnings: $lint"

(cd "$winbuild" && cpack -G ZIP >/dev/null)
zip=$(ls "$winbuild"/tokloc-${version}-win64.zip)
listing=$(unzip -l "$zip")
for f in tokloc.exe LICENSE README.md; do
  echo "$listing" | grep -q "/$f\$" || fail "$zip lacks $f"
done
# The version resource holds its strings as UTF-16.
resource=$(strings -el "$winbuild/tokloc.exe")
for s in "$version" "Find the location of a string token in a line of text" "tokloc.exe" "the tokloc authors. Released under the MIT License."; do
  echo "$resource" | grep -qF "$s" || fail "version resource lacks: $s"
done

if [ "$(id -u)" = 0 ]; then
  dpkg -i "$deb" >/dev/null
  out=$(/usr/bin/tokloc "This is not a very long string" long) || true
  dpkg -r tokloc >/dev/null
  [ "$out" = "$expected" ] || fail "the installed package gave: $out"
else
  echo "package-check: not root, the .deb was not installed"
fi
echo "package-check: 1 passed, 0 failed"
