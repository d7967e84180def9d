#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test suite, the
# window tests inside a virtual X server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install_deps.sh"
"$root/scripts/build.sh" "$root/build" -DMURKFELL_WERROR=ON -DMURKFELL_TESTS=ON -DMURKFELL_BENCH=ON
cd "$root/build"
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ctest --output-on-failure -j2
