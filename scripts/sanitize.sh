#!/usr/bin/env bash
# The sanitizer stages:
#   1. the whole project built with AddressSanitizer + UndefinedBehaviorSanitizer
#      into build-asan/, and the whole test suite run inside a virtual X server;
#   2. the concurrency tests (ctest label "concurrency") built with
#      ThreadSanitizer into build-tsan/, only the targets they need.
# Any sanitizer report fails the run.
#
#   scripts/sanitize.sh [asan|tsan]   (both stages when no argument is given)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
stages=${1:-asan tsan}

# -O1 with line tables only: half the build time of -O2 -g, and every report
# still names file and line.
configure() {
  local build=$1 sanitizer=$2
  shift 2
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1" \
    -DMURKFELL_SANITIZE="$sanitizer" -DMURKFELL_TESTS=ON -DMURKFELL_BENCH=OFF "$@" >/dev/null
}

# Host-style tests load the plug-in and unload it again, as hosts do. Unloading
# takes the libraries it brought along (cairo, X11, fontconfig ...) with it, and
# with them the roots of their process-wide caches, which LeakSanitizer then
# reports as leaks without a usable stack. Every test program therefore starts
# with those libraries already loaded (ASan's runtime has to come first), so
# that what remains is what our own code lost.
write_test_launcher() {
  cat >"$1/keep_plugin_libraries_loaded.sh" <<'LAUNCHER'
#!/bin/sh
plugin=$(dirname "$0")/murkfell.so
libraries=
if [ -f "$plugin" ]; then
  libraries=$(objdump -p "$plugin" |
    awk '$1 == "NEEDED" && $2 !~ /^lib(asan|ubsan|stdc\+\+|gcc_s|m|c)\./ { print $2 }' |
    tr '\n' ' ')
fi
LD_PRELOAD="$(g++ -print-file-name=libasan.so) $libraries" exec "$@"
LAUNCHER
  chmod +x "$1/keep_plugin_libraries_loaded.sh"
}

# Process-wide caches of cairo and fontconfig, kept until exit by design and
# held where LeakSanitizer cannot see the pointers; and 32 bytes that cairo's
# Xlib backend (1.16) loses inside cairo_paint once per connection, which only
# window tests reach.
write_leak_suppressions() {
  cat >"$1/lsan.supp" <<'SUPPRESSIONS'
leak:cairo_toy_font_face_create
leak:FcInitLoadConfigAndFonts
leak:cairo_paint
SUPPRESSIONS
}

asan_stage() {
  local build=$root/build-asan
  echo "== AddressSanitizer + UndefinedBehaviorSanitizer: whole test suite"
  mkdir -p "$build"
  write_test_launcher "$build"
  write_leak_suppressions "$build"
  configure "$build" address -DCMAKE_CROSSCOMPILING_EMULATOR="$build/keep_plugin_libraries_loaded.sh"
  cmake --build "$build" -j2
  # The slow unwinder follows leak stacks through libraries built without frame
  # pointers, so that the suppressions can match them.
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:strict_string_checks=1
  export LSAN_OPTIONS=suppressions=$build/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  (cd "$build" &&
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ctest --output-on-failure --no-tests=error -j2)
}

# The test executables that carry the concurrency label.
concurrency_targets() {
  grep -rhoP --include=CMakeLists.txt \
    'gtest_discover_tests\(\s*\K[A-Za-z0-9_]+(?=[^)]*LABELS[^)]*\bconcurrency\b)' "$root/tests"
}

tsan_stage() {
  local build=$root/build-tsan targets
  echo "== ThreadSanitizer: concurrency tests"
  targets=$(concurrency_targets | sort -u)
  if [[ -z $targets ]]; then
    echo "no test target carries the concurrency label" >&2
    return 1
  fi
  configure "$build" thread
  # shellcheck disable=SC2086
  cmake --build "$build" -j2 --target $targets
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:report_signal_unsafe=1
  (cd "$build" && ctest --output-on-failure --no-tests=error -L concurrency)
}

for stage in $stages; do
  case $stage in
    asan) asan_stage ;;
    tsan) tsan_stage ;;
    *)
      echo "unknown stage: $stage (asan or tsan)" >&2
      exit 2
      ;;
  esac
done
