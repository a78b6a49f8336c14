#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, skipping what is already there.
set -euo pipefail
packages=(
  cmake ninja-build g++ git python3
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  gcc-multilib g++-multilib qemu-user
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  clang libclang-rt-14-dev
  libcairo2-dev libpng-dev fonts-dejavu-core
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
