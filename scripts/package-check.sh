#!/bin/sh
# Builds the packages from the native and Win32 build directories and checks
# them: the .deb and .tar.gz contents, lintian and mandoc, the install tree,
# the Windows .zip and version resource, and that the program unpacked from
# the .deb runs the README's example (the system's own packages are left as
# they are: nothing is installed). Then proves the builds reproducible: two
# clean builds from different folders, with SOURCE_DATE_EPOCH given at
# configure time only, give byte-identical programs and packages, and a
# rebuild with another SOURCE_DATE_EPOCH shows the new build date.
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
for f in ./usr/bin/tokloc ./usr/share/man/man1/tokloc.1.gz ./usr/share/doc/tokloc/copyright \
         ./usr/share/doc/tokloc/changelog.gz ./usr/share/lintian/overrides/tokloc \
         ./usr/share/doc/tokloc/examples/each-line.sh ./usr/share/doc/tokloc/examples/locate.bat; do
  echo "$listing" | grep -q " $f\$" || fail "$deb lacks $f"
done
[ "$(dpkg-deb -f "$deb" Package)" = tokloc ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong package version"
dpkg-deb -f "$deb" Description | grep -q "token" || fail "no description"
listing=$(tar -tzf "$tgz")
echo "$listing" | grep -q "/bin/tokloc\$" || fail "$tgz lacks bin/tokloc"
echo "$listing" | grep -q "/share/doc/tokloc/examples/each-line.bat\$" || fail "$tgz lacks the examples"
echo "$listing" | grep -q "lintian" && fail "$tgz carries the .deb's lintian override"

# lintian: no error and no warning (its note about running as root is none).
lint=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$lint" ] || fail "lintian: $lint"
lint=$(mandoc -Tlint docs/tokloc.1 2>&1 || true)
[ -z "$lint" ] || fail "mandoc: $lint"
lint=$(groff -ww -man -z docs/tokloc.1 2>&1)
[ -z "$lint" ] || fail "man page warnings: $lint"
grep -q "^\.TH TOKLOC 1 \"[0-9-]*\" \"tokloc $version\"" docs/tokloc.1 || fail "the man page names another version"

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/tokloc" ] || fail "install lacks bin/tokloc"
[ -f "$prefix/share/man/man1/tokloc.1.gz" ] || fail "install lacks the man page"
[ ! -e "$prefix/share/lintian" ] || fail "the install tree carries the .deb's lintian override"
[ "$("$prefix/bin/tokloc" "This is not a very long string" long)" = "$expected" ] || fail "installed tokloc gave another line"

(cd "$winbuild" && cpack -G ZIP >/dev/null)
zip=$(ls "$winbuild"/tokloc-${version}-win64.zip)
listing=$(unzip -l "$zip")
for f in tokloc.exe LICENSE README.md examples/each-line.bat examples/locate.sh; do
  echo "$listing" | grep -q "/$f\$" || fail "$zip lacks $f"
done
# The version resource holds its strings as UTF-16.
resource=$(strings -el "$winbuild/tokloc.exe")
for s in "$version" "Find the location of a string token in a line of text" "tokloc.exe" "the tokloc authors. Released under the MIT License."; do
  echo "$resource" | grep -qF "$s" || fail "version resource lacks: $s"
done

# The .deb's own files, unpacked into a folder of ours: an installed
# tokloc stays as it was.
dpkg-deb -x "$deb" "$prefix/unpacked"
out=$("$prefix/unpacked/usr/bin/tokloc" "This is not a very long string" long) || true
[ "$out" = "$expected" ] || fail "the packaged program gave: $out"

# Reproducibility. SOURCE_DATE_EPOCH is in the environment of the configure
# step alone; building and packaging run without it.
epoch=1765238400    # 2025-12-09 00:00:00 UTC
later=1700000000    # 2023-11-14 22:13:20 UTC
toolchain=$(cd "$winbuild" && cache . CMAKE_TOOLCHAIN_FILE)
for side in a b; do
  d="$prefix/repro-$side"
  SOURCE_DATE_EPOCH=$epoch cmake -S . -B "$d/native" -DTOKLOC_TESTS=OFF >/dev/null
  SOURCE_DATE_EPOCH=$epoch cmake -S . -B "$d/win" --toolchain "$toolchain" -DTOKLOC_TESTS=OFF >/dev/null
  for b in native win; do
    env -u SOURCE_DATE_EPOCH cmake --build "$d/$b" >/dev/null
    (cd "$d/$b" && env -u SOURCE_DATE_EPOCH cpack >/dev/null)
  done
done
for f in native/tokloc win/tokloc.exe "native/tokloc_${version}_amd64.deb" "native/tokloc-${version}-Linux.tar.gz" \
         "win/tokloc-${version}-win64.zip"; do
  cmp -s "$prefix/repro-a/$f" "$prefix/repro-b/$f" || fail "two clean builds differ in $f"
done
stamp=$(env -i "$prefix/repro-a/native/tokloc" --version-only 2>&1 | grep -o 'compiled on [^@]*@ [0-9:]*')
[ "$stamp" = "compiled on 09 Dec 2025 @ 00:00:00" ] || fail "the configure-time stamp reads: $stamp"
SOURCE_DATE_EPOCH=$later cmake --build "$prefix/repro-a/native" >/dev/null
stamp=$(env -i "$prefix/repro-a/native/tokloc" --version-only 2>&1 | grep -o 'compiled on [^@]*@ [0-9:]*')
[ "$stamp" = "compiled on 14 Nov 2023 @ 22:00:00" ] || fail "a rebuild kept the old stamp: $stamp"
echo "package-check: 1 passed, 0 failed"
