#!/usr/bin/env bash
# Installs the Debian packages VALMERO needs that are missing.
#   scripts/setup.sh          what building and running the command-line program needs
#   scripts/setup.sh --tests  also the test, desktop and desktop-test packages, and
#                             what makes and checks the release files (scripts/package.sh)
set -euo pipefail

packages=(g++ cmake ninja-build nlohmann-json3-dev pkg-config libcairo2-dev libpango1.0-dev fonts-dejavu-core
          fonts-noto-cjk)
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(libgtest-dev libgmock-dev clang libclang-rt-14-dev util-linux e2fsprogs libwxgtk3.2-dev xvfb xauth dbus at-spi2-core
             python3-dogtail xdotool x11-utils imagemagick
             g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine zip unzip poppler-utils chromium
             wixl lintian appstream dpkg-dev file man-db dosfstools fusefat)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
