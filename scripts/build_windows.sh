#!/usr/bin/env bash
# Cross-builds the Windows plug-in, murkfell.dll (64-bit), with Debian's
# mingw-w64 into build-windows/ (or the folder given first); further arguments
# go to CMake. Installs the cross compiler first when it is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
shift || true
source "$root/scripts/lib/debian_packages.sh"

install_missing cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DMURKFELL_TESTS=OFF "$@" >/dev/null
cmake --build "$build" --target murkfell
echo "Built $build/murkfell.dll"
