#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it from the seed corpus in tests/fuzz/corpus.
# New inputs go to a scratch folder, so the repository is untouched. A finding is saved as
# ./crash-* or ./leak-*; add a small case like it to the corpus as a regression case.
#
#   scripts/fuzz.sh [SECONDS]   explores for SECONDS (default 60) from a new random seed
#   scripts/fuzz.sh --runs N    runs N inputs from seed 1: as many on a busy machine as on a
#                               quiet one, along nearly the same path (what the fuzzer learns
#                               from each input still varies a little from run to run)
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} == --runs ]]; then
    limit=(-runs="${2:?--runs needs a number}" -seed=1)
    export QT_HASH_SEED=0 # Qt's hashes in the same order each run, for a steadier path
else
    limit=(-max_total_time="${1:-60}")
fi

FGD_WITH_FUZZER=1 source scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_fgd

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp tests/fuzz/corpus/* "$scratch/"
status=0
./build-fuzz/tests/fuzz/fuzz_fgd "${limit[@]}" -max_len=4096 -print_final_stats=1 \
    "$scratch" >"$scratch.log" 2>&1 || status=$?
if ((status)); then
    tail -n 60 "$scratch.log"
else
    grep -E '^Done|^stat::' "$scratch.log" || true
fi
rm -f "$scratch.log"
exit "$status"
