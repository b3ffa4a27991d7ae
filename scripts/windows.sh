#!/usr/bin/env bash
# Builds the portable Windows program on Debian 12 and tests it under Wine:
#   build-win/fgd-composer-<version>-windows-x64.zip (one fgd-composer.exe, README.txt, licences)
# It installs what it needs (the mingw-w64 cross compiler, Wine, Xvfb), builds a static Qt for
# Windows once (scripts/windows-qt.sh; cached in ~/.cache/fgd-composer, about half an hour),
# cross-builds the program and its tests, checks that the .exe needs no DLL that a bare Windows
# lacks, runs the tests and an end-to-end check in a real window under Wine, and packs the zip.
set -euo pipefail
cd "$(dirname "$0")/.."

FGD_WITH_WINDOWS=1 FGD_WITH_DISPLAY_TOOLS=1 source scripts/setup.sh
qt=$(scripts/windows-qt.sh)
build=$PWD/build-win

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
cmake --build "$build"
exe=$build/fgd-composer.exe
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

# A Wine prefix of the build's own for the tests, as a freshly installed Windows has it (Mono
# and Gecko are left out: nothing here uses .NET or a web view). Wine does not pass QT_*
# variables on from Linux, so the tests' own settings are the prefix's: Qt's offscreen
# platform with the DejaVu fonts, as on Linux, and test output on stdout, not the debugger.
export WINEPREFIX=$build/wine-tests WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    wineboot --init >/dev/null 2>&1
    for setting in QT_QPA_PLATFORM=offscreen QT_FORCE_STDERR_LOGGING=1 \
        "QT_QPA_FONTDIR=$(winepath -w /usr/share/fonts/truetype/dejavu)"; do
        wine reg add 'HKCU\Environment' /v "${setting%%=*}" /d "${setting#*=}" /f >/dev/null 2>&1
    done
    wineserver --wait
fi

# Every DLL the program imports must be one that Windows itself has: no Qt, no C++ runtime.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[[ -n $imports ]] || { echo "no imports read from $exe" >&2; exit 1; }
missing=()
for dll in $imports; do
    # api-ms-win-* names are API sets, which Windows 10 and 11 (and Wine) resolve themselves.
    [[ ${dll,,} == api-ms-win-* ]] && continue
    [[ -n $(find "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$dll") ]] ||
        missing+=("$dll")
done
if ((${#missing[@]})); then
    echo "fgd-composer.exe needs DLLs that Windows does not have: ${missing[*]}" >&2
    exit 1
fi
echo "fgd-composer.exe imports only Windows' own DLLs:" $imports

# A full disk, as a Windows drive: T: is a 64 KiB tmpfs (where mounting is allowed).
small=$build/small-disk
mkdir -p "$small"
if mountpoint -q "$small" || mount -t tmpfs -o size=64k tmpfs "$small" 2>/dev/null; then
    trap 'umount "$small" 2>/dev/null || true' EXIT
    ln -sfn "$small" "$WINEPREFIX/dosdevices/t:"
    export FGD_SMALL_DISK='T:/'
fi

FGD_SOAK_STEPS=${FGD_SOAK_STEPS:-20000} ctest --test-dir "$build" --output-on-failure

# The zip: the program, how to start it, and the licence texts static Qt asks for.
package=$build/fgd-composer-$version-windows-x64
rm -rf "$package" "$package.zip"
mkdir -p "$package/licenses"
cp "$exe" "$package/"
x86_64-w64-mingw32-strip "$package/fgd-composer.exe"
sed "s/@VERSION@/$version/g; s/@QT@/$(basename "$qt" | cut -d- -f2)/g; s/\$/\r/" \
    packaging/windows/README.txt >"$package/README.txt"
for licence in LGPL-3 GPL-3; do
    sed 's/$/\r/' "/usr/share/common-licenses/$licence" >"$package/licenses/$licence.txt"
done
(cd "$build" && zip -q -r -X "$(basename "$package").zip" "$(basename "$package")")

# The zip as a user gets it: unpacked, and used in a fresh Wine prefix.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"; umount "$small" 2>/dev/null || true' EXIT
unzip -q "$package.zip" -d "$unpacked"
unset WINEPREFIX
tests/e2e/wine.sh "$unpacked/$(basename "$package")/fgd-composer.exe"
echo "Built $package.zip"
