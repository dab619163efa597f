#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quick when they are present.
set -euo pipefail

packages=(
    cmake make python3 g++
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
    wine wine64 wine64-tools
    # Wine's own fonts, which a plain install of wine recommends: without them
    # dialogs and frames lay out on fallback fonts that users never see.
    fonts-wine fonts-liberation
    xvfb xauth xdotool imagemagick x11-utils
    googletest
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
