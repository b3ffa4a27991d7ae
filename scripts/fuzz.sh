#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it for SECONDS (default 60) from the seed
# corpus in tests/fuzz/corpus. New inputs go to a scratch folder, so the repository is untouched.
# A finding is saved as ./crash-* or ./leak-*; add it to the corpus as a regression case.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

FGD_WITH_FUZZER=1 source scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_fgd

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp tests/fuzz/corpus/* "$scratch/"
status=0
./build-fuzz/tests/fuzz/fuzz_fgd -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    "$scratch" >"$scratch.log" 2>&1 || status=$?
if ((status)); then
    tail -n 60 "$scratch.log"
else
    grep -E '^Done|^stat::' "$scratch.log" || true
fi
rm -f "$scratch.log"
exit "$status"
