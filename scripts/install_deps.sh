#!/usr/bin/env bash
# Installs the Debian packages the build, the tools, the tests and the CI stages
# need, when any of them is missing. Run as root on Debian 12; a bare system
# (debootstrap minbase) is enough. Recommended packages are left out, so every
# program a script, build rule or test calls is listed here by its package.
set -euo pipefail
source "$(dirname "$0")/lib/debian_packages.sh"

packages=(
  # the build
  build-essential cmake ninja-build pkg-config
  libcairo2-dev libx11-dev libfontconfig-dev libsndfile1-dev
  # the test suites and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libxtst-dev
  # nm (the export check), objdump (the sanitizer launcher), objcopy (the fuzzer)
  binutils
  # the artwork generator and the test images: Debian's Python with pycairo and Pillow
  python3 python3-cairo python3-pil
  # fonts: Liberation Sans is the editor's "Arial" (metric-compatible), Liberation
  # Serif and DejaVu Sans draw the artwork; fontconfig brings fc-match, which the
  # generator asks for its faces, and the system font cache
  fontconfig fonts-liberation2 fonts-dejavu-core
  # the window tests' virtual X server; xvfb-run needs xauth
  xvfb xauth
  # the fuzzer: clang with libFuzzer and its sanitizer runtimes
  clang-14 libfuzzer-14-dev libclang-rt-14-dev
  # third-party plug-ins the renderer's tests load
  zam-plugins dpf-plugins-vst
)

# The LV2 bundle: its C interface and lv2_validate, lilv for the tests, and
# sord_validate, which lv2_validate runs.
packages+=(lv2-dev liblilv-dev sordi)

install_missing "${packages[@]}"
