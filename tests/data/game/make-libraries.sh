#!/usr/bin/env bash
# Rebuilds the four test libraries from source/, the way a mod's server library exports its
# classes: a 32- and a 64-bit Windows DLL, a 32- and a 64-bit Linux shared object. Needs, on
# Debian 12: gcc, gcc-mingw-w64-x86-64 and binutils (whose ld links 32-bit PE files too).
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-gcc -O1 -m32 -c source/entities.c -o "$work/entities32.obj"
ld -m i386pe --dll -e 0 -s "$work/entities32.obj" -o pe32.dll
x86_64-w64-mingw32-gcc -O1 -shared -nostdlib -s -Wl,-e,0 source/entities.c -o pe64.dll
gcc -O1 -m32 -fPIC -shared -nostdlib -s source/entities.c -o elf32.so
gcc -O1 -fPIC -shared -s source/entities.c -o elf64.so # linked to the C library: rand is imported
