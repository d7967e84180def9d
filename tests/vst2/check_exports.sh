#!/bin/sh
# The plug-in must export exactly its two entry names, both as functions.
set -eu
exports=$(nm -D --defined-only "$1" | awk '{print $2, $3}' | sort)
expected="T VSTPluginMain
T main"
if [ "$exports" != "$expected" ]; then
  echo "unexpected dynamic symbols in $1:"
  echo "$exports"
  exit 1
fi
echo "exports: VSTPluginMain, main"
