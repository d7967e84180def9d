#!/usr/bin/env bash
# Builds the host-call fuzzer with clang-14 (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs it for SECONDS (default
# 60) on a scratch copy of the committed seed corpus. Any finding fails the run;
# the crashing input is left in build-fuzz/findings/.
#
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${MURKFELL_FUZZ_BUILD:-$root/build-fuzz}

CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURKFELL_FUZZ=ON -DMURKFELL_SANITIZE=address \
  -DMURKFELL_TESTS=OFF -DMURKFELL_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
ninja -C "$build" -j2 murkfell_host_call_fuzzer

# The committed corpus stays as it is; new coverage goes to the scratch copy.
scratch=$build/corpus
findings=$build/findings
rm -rf "$scratch" "$findings"
mkdir -p "$scratch" "$findings"
cp "$root"/fuzz/corpus/* "$scratch"/

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd "$findings"
"$build/fuzz/murkfell_host_call_fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
  -max_len=4096 -len_control=0 -print_final_stats=1 -artifact_prefix="$findings/" "$scratch"
