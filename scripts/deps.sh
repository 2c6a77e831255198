#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need,
# skipping those already present. Sourced by the start and test scripts.
set -euo pipefail

korvane_packages=(
  cmake ninja-build g++ pkgconf
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgif-dev
  libcli11-dev nlohmann-json3-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core
  help2man dpkg-dev file desktop-file-utils appstream fonts-liberation2
)

korvane_install_deps() {
  local missing=()
  for p in "${korvane_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
