#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the stand-in host need.
# Does nothing when they are all present, so it is cheap to call before every build.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev llvm-14 clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  libeigen3-dev libpugixml-dev libpng-dev
  libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev libocct-data-exchange-dev
  ccache lld
  libmimalloc-dev libjemalloc-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
