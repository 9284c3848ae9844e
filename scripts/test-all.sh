#!/bin/sh
# Installs what the tests need (with apt-get, when run as root), builds the
# native, the Win32 and a sanitizer build with warnings as errors, and runs
# every test: native, the Win32 build under Wine, and the unit, end-to-end
# and fuzz tests under AddressSanitizer and UBSan.
set -eu
cd "$(dirname "$0")/.."

packages="cmake make g++ python3 libgtest-dev libbenchmark-dev locales
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64
  clang libclang-rt-14-dev clang-format-14 groff-base binutils unzip lintian mandoc jq parallel unicode-data
  openssh-server openssh-client"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  if [ "$(id -u)" = 0 ]; then
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q $missing
  else
    echo "missing packages (run as root to install):$missing" >&2
  fi
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DTOKLOC_WERROR=ON -DTOKLOC_BENCH=ON -DTOKLOC_REQUIRE_TEST_TOOLS=ON
cmake --build build -j "$jobs"
cmake -S . -B build-win --toolchain cmake/mingw-w64-x86_64.cmake -DTOKLOC_WERROR=ON -DTOKLOC_BENCH=ON \
  -DTOKLOC_REQUIRE_TEST_TOOLS=ON
cmake --build build-win -j "$jobs"

# Unit and end-to-end tests again under AddressSanitizer and UBSan, and
# every fuzz target for a bounded time.
CC=clang CXX=clang++ cmake -S . -B build-asan -DTOKLOC_WERROR=ON -DTOKLOC_FUZZ=ON -DTOKLOC_REQUIRE_TEST_TOOLS=ON \
  -DTOKLOC_FUZZ_SECONDS="${TOKLOC_FUZZ_SECONDS:-30}"
cmake --build build-asan -j "$jobs"

# Install tree, .deb, .tar.gz and the Windows .zip.
sh scripts/package-check.sh build build-win

(cd build && ctest --output-on-failure -j "$jobs")
(cd build-win && ctest --output-on-failure)
(cd build-asan && ctest --output-on-failure -j "$jobs")

