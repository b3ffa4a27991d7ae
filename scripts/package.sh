#!/usr/bin/env bash
# Installs into a temporary prefix and validates the desktop entry and AppStream metainfo,
# builds the Debian package, and runs the end-to-end test in a real X window (Xvfb) against
# the installed program. As root (as in CI) the end-to-end test runs against the program
# installed from the .deb, which is removed again afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

FGD_WITH_DISPLAY_TOOLS=1 FGD_WITH_PACKAGING=1 source scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target fgd-composer

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
DESTDIR="$prefix" cmake --install build --prefix /usr >/dev/null
desktop-file-validate "$prefix"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$prefix"/usr/share/metainfo/*.metainfo.xml
echo "Installed files:"
(cd "$prefix" && find . -type f | sort)
# The file type must be one shared-mime-info reads: *.fgd is text/x-fgd.
update-mime-database "$prefix"/usr/share/mime 2>/dev/null
grep -qx 'text/x-fgd:\*\.fgd' "$prefix"/usr/share/mime/globs ||
    { echo "*.fgd is not registered as text/x-fgd" >&2; exit 1; }

(cd build && cpack -G DEB)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb=$(ls build/fgd-composer_"$version"_*.deb)
dpkg-deb --field "$deb" Depends

if [[ $(id -u) -eq 0 && "${CI:-}" == true ]]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
    trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq fgd-composer >/dev/null; rm -rf "$prefix"' EXIT
    tests/e2e/run.sh /usr/bin/fgd-composer
else
    tests/e2e/run.sh "$prefix/usr/bin/fgd-composer"
fi
