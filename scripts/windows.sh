#!/usr/bin/env bash
# Builds the portable Windows program on Debian 12 and tests it under Wine:
#   build-win/fgd-composer-<version>-windows-x64.zip (fgd-composer.exe, its console companion
#   fgd-composer.com, README.txt, licences)
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
console=$build/fgd-composer.com
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

# A Wine prefix of the build's own for the tests, as a freshly installed Windows has it (Mono
# and Gecko are left out: nothing here uses .NET or a web view). Wine does not pass QT_*
# variables on from Linux, so the tests' own settings are the prefix's: Qt's offscreen
# platform with the DejaVu fonts, as on Linux, and test output on stdout, not the debugger.
export WINEPREFIX=$build/wine-tests WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
# A prefix is used only once it is complete: one whose setting-up failed half way is made anew.
if [[ ! -f $WINEPREFIX/.fgd-ready ]]; then
    rm -rf "$WINEPREFIX"
    echo "Setting up the Wine prefix for the tests"
    wineboot --init >/dev/null 2>&1
    for setting in QT_QPA_PLATFORM=offscreen QT_FORCE_STDERR_LOGGING=1 \
        "QT_QPA_FONTDIR=$(winepath -w /usr/share/fonts/truetype/dejavu)"; do
        wine reg add 'HKCU\Environment' /v "${setting%%=*}" /d "${setting#*=}" /f >/dev/null 2>&1
    done
    wineserver --wait
    touch "$WINEPREFIX/.fgd-ready"
fi

# Explorer starts the .exe, which must open no console; a command prompt finds the .com first,
# which must run in the prompt's console so that the prompt waits for it and gets its output.
for program in "$exe:Windows GUI" "$console:Windows CUI"; do
    subsystem=$(x86_64-w64-mingw32-objdump -p "${program%%:*}" |
        sed -n 's/^Subsystem\s.*(\(.*\))$/\1/p')
    if [[ $subsystem != "${program#*:}" ]]; then
        echo "$(basename "${program%%:*}") is a $subsystem program, not ${program#*:}" >&2
        exit 1
    fi
done
echo "Subsystems: fgd-composer.exe Windows GUI, fgd-composer.com Windows CUI"

# Every DLL the programs import must be one that Windows itself has: no Qt, no C++ runtime.
for program in "$exe" "$console"; do
    imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
    [[ -n $imports ]] || { echo "no imports read from $program" >&2; exit 1; }
    missing=()
    for dll in $imports; do
        # api-ms-win-* names are API sets, which Windows 10 and 11 (and Wine) resolve themselves.
        [[ ${dll,,} == api-ms-win-* ]] && continue
        [[ -n $(find "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$dll") ]] ||
            missing+=("$dll")
    done
    if ((${#missing[@]})); then
        echo "$(basename "$program") needs DLLs that Windows does not have: ${missing[*]}" >&2
        exit 1
    fi
    echo "$(basename "$program") imports only Windows' own DLLs:" $imports
done

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
cp "$exe" "$console" "$package/"
x86_64-w64-mingw32-strip "$package/fgd-composer.exe" "$package/fgd-composer.com"
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

# The check from the zip, as a command prompt runs it: through fgd-composer.com, which waits
# for fgd-composer.exe and passes on its findings and exit status.
status=0
findings=$(cd tests/data/check &&
    wine "$unpacked/$(basename "$package")/fgd-composer.com" --check slips.fgd 2>&1) || status=$?
if [[ $status != 1 || $findings != *"slips.fgd:3:51: error: size() needs three numbers"* ]]; then
    echo "fgd-composer.com --check slips.fgd: status $status, printed:" >&2
    echo "$findings" >&2
    exit 1
fi
echo "fgd-composer.com --check from the zip: status 1, $(grep -c ': error: ' <<<"$findings") errors"
unset WINEPREFIX
tests/e2e/wine.sh "$unpacked/$(basename "$package")/fgd-composer.exe"
echo "Built $package.zip"
