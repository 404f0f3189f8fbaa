#!/usr/bin/env bash
# Installs, with apt-get, what this machine lacks: `run` what make run needs (configuring the
# builds, which wixl's package rules take part in, the program, its help, Wine and a virtual
# display), `all` (the default) what every build, test and benchmark needs too.
set -euo pipefail

packages=(
  make cmake g++
  googletest libgtest-dev
  clang libbenchmark-dev fp-utils
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb x11-utils
  wixl
)
if [ "${1:-all}" != run ]; then
  packages+=(libclang-rt-14-dev python3 python3-icalendar)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Missing packages: ${missing[*]}; install them as root (apt-get install ${missing[*]})." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
# Passed on the command line: sudo drops the caller's environment.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
