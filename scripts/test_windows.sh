#!/usr/bin/env bash
# The Windows plug-in proven under Wine: cross-builds it with its tests and
# test host into build-windows-tests/, builds the Linux pieces it is compared
# with in build/, then runs the Windows suites in a throw-away Wine prefix on a
# virtual X server. Installs what it needs first (Debian 12, as root).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux_build=$root/build
windows_build=$root/build-windows-tests

source "$root/scripts/lib/debian_packages.sh"
# With recommends: Wine's display driver loads X libraries and fonts that its
# packages only recommend.
install_missing --with-recommends cmake ninja-build g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 googletest wine wine64 xvfb xauth python3-pil python3-numpy \
  python3-soundfile
"$root/scripts/install_deps.sh"

# The Linux build the DLL is compared with: the plug-in, the renderer, the
# circuit suite.
if [[ ! -f $linux_build/build.ninja ]]; then
  cmake -S "$root" -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$linux_build" --target murkfell murkfell-render murkfell_circuit_tests

cmake -S "$root" -B "$windows_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DMURKFELL_WERROR=ON -DMURKFELL_LINUX_BUILD="$linux_build" >/dev/null
cmake --build "$windows_build"

# A fresh 64-bit Wine prefix, quiet, without the Mono and Gecko installers.
prefix=$(mktemp -d /tmp/murkfell-wine.XXXXXX)
cleanup() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# One virtual X server for the prefix's first start and all the tests.
cd "$windows_build"
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
  echo "Preparing a Wine prefix"
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
  ctest --output-on-failure -j2'
