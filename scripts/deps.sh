#!/usr/bin/env bash
# The Debian packages Korvane needs, in three lists, and their installer.
# Sourced by the start and test scripts and by CI.
#   korvane_install_deps program        what building and running the program needs
#   korvane_install_deps program tests  ... and the test suite with its oracle
#   korvane_install_deps program tests ci   ... and what CI adds
set -euo pipefail

# The program, its tools, its artwork and manual pages.
korvane_program_packages=(
  cmake ninja-build g++ pkgconf
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libcli11-dev nlohmann-json3-dev
  help2man fonts-dejavu-core fonts-liberation2
)
# The test suite and benchmarks: GoogleTest, and giflib as their oracle.
korvane_tests_packages=(
  libgtest-dev libgmock-dev libgif-dev
)
# CI: sanitizers and fuzzing (clang), and the package and metadata checks.
korvane_ci_packages=(
  clang clang-format clang-tidy libclang-rt-14-dev
  dpkg-dev file desktop-file-utils appstream lintian
)

korvane_install_deps() {
  local wanted=() missing=() list
  for list in "$@"; do
    case "$list" in
      program) wanted+=("${korvane_program_packages[@]}") ;;
      tests) wanted+=("${korvane_tests_packages[@]}") ;;
      ci) wanted+=("${korvane_ci_packages[@]}") ;;
      *) echo "korvane_install_deps: unknown list $list" >&2; return 2 ;;
    esac
  done
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "Korvane needs these Debian packages, and sudo is not installed to add them: as root, run apt-get install ${missing[*]}" >&2
      return 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
