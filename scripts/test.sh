#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs all tests.
# The window tests need no display: they run on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/setup.sh
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci
