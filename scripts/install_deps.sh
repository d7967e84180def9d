#!/usr/bin/env bash
# Installs the Debian packages the build, the tools and the tests need, when
# any of them is missing. Run as root on Debian 12.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libcairo2-dev libx11-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core
  python3-cairo python3-pil
  libsndfile1-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libxtst-dev
  clang-14 libfuzzer-14-dev libclang-rt-14-dev
  zam-plugins dpf-plugins-vst
)

# The LV2 bundle: its C interface and lv2_validate, lilv for the tests, and
# sord_validate, which lv2_validate runs.
packages+=(lv2-dev liblilv-dev sordi)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
