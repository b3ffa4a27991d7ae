#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs all tests;
# any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/setup.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
