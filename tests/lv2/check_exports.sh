#!/bin/sh
# An LV2 binary must export exactly its one entry function.
#   check_exports.sh LIBRARY ENTRY
set -eu
exports=$(nm -D --defined-only "$1" | awk '{print $2, $3}')
if [ "$exports" != "T $2" ]; then
  echo "unexpected dynamic symbols in $1 (wanted only $2):"
  echo "$exports"
  exit 1
fi
echo "exports: $2"
