#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Pallix
# need, and only those that are missing; the package lists are refreshed
# only when something has to be installed.
set -euo pipefail

# package:command — a package counts as present when dpkg has it installed,
# or when its command is already on PATH from elsewhere.
readonly wanted=(
  cmake:cmake
  ninja-build:ninja
  g++-mingw-w64-x86-64-posix:x86_64-w64-mingw32-g++-posix
  # GoogleTest's sources, built with that compiler for the in-process tests.
  googletest:
  wine64:
  wine:wine
  xvfb:Xvfb
  xdotool:xdotool
  # Unzips the package in its journey.
  unzip:unzip
  imagemagick:import
  x11-utils:xdpyinfo
)

missing=()
for entry in "${wanted[@]}"; do
  package=${entry%%:*} command=${entry#*:}
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    continue
  fi
  if [[ -n $command ]] && command -v "$command" >/dev/null 2>&1; then
    continue
  fi
  missing+=("$package")
done

((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if ((EUID != 0)); then
  command -v sudo >/dev/null 2>&1 || {
    echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# Another install may hold the package lock for a while.
apt_options=(-o DPkg::Lock::Timeout=300 -qq)
"${sudo[@]}" apt-get "${apt_options[@]}" update
"${sudo[@]}" apt-get "${apt_options[@]}" install -y "${missing[@]}"
