#!/usr/bin/env bash
# Builds the plug-in and the command-line renderer, then renders audio through
# the pedal: the arguments go to murkfell-render (see --help); with none it
# plays the built-in guitar riff through the pedal.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install_deps.sh"
"$root/scripts/build.sh" "$root/build" -DMURKFELL_TESTS=OFF -DMURKFELL_BENCH=OFF
exec "$root/build/murkfell-render" "$@"
