#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
# With arguments, those packages instead (tools only some scripts use).
set -euo pipefail
packages=(
  cmake make g++ ninja-build googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xauth libgl1-mesa-dri x11-utils xdotool imagemagick
  nlohmann-json3-dev libmicrohttpd-dev python3 python3-ezdxf hershey-fonts-data
  clang-14 libclang-rt-14-dev libfuzzer-14-dev
)
[ $# -eq 0 ] || packages=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
