#!/usr/bin/env bash
# Installs what building and testing need on Debian or Ubuntu, skipping what is already there.
# Elsewhere it only says what to install. Sourced by run.sh and test.sh; also runs on its own.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev fonts-dejavu-core clang-format)
if [[ "${FGD_WITH_BENCHMARK:-0}" == 1 ]]; then
    packages+=(libbenchmark-dev python3)
fi
if [[ "${FGD_WITH_FUZZER:-0}" == 1 ]]; then
    packages+=(clang libclang-rt-14-dev)
fi
if [[ "${FGD_WITH_DISPLAY_TOOLS:-0}" == 1 ]]; then
    packages+=(xvfb xauth xdotool openbox imagemagick x11-utils)
fi
if [[ "${FGD_WITH_WINDOWS:-0}" == 1 ]]; then
    # The posix thread model of mingw-w64, which Qt needs; Wine runs the tests and the program.
    packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
        wine wine64 fonts-wine dpkg-dev zip unzip perl python3 fonts-dejavu-core)
fi
if [[ "${FGD_WITH_PACKAGING:-0}" == 1 ]]; then
    packages+=(desktop-file-utils appstream dpkg-dev file shared-mime-info)
fi

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "Not a Debian system: install CMake 3.25+, a C++20 compiler and Qt 6 (Widgets) yourself." >&2
    return 0 2>/dev/null || exit 0
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [[ $(id -u) -ne 0 ]]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
