#!/usr/bin/env bash
# Validates what fgd-composer --check --format sarif writes with Microsoft's SARIF validator
# (the npm package @microsoft/sarif-multitool, installed once into ~/.cache/fgd-composer):
# findings of every kind in the tests' files, a path with spaces and accents, standard input, a
# file that cannot be read, and the notes a game's source gives. Any error the validator reports fails; its warnings are listed.
# Run after ./scripts/test.sh (it uses build-ci/app/fgd-composer).
set -euo pipefail
cd "$(dirname "$0")/.."

version=5.7.0
tool=${XDG_CACHE_HOME:-$HOME/.cache}/fgd-composer/sarif-multitool-$version
if [[ ! -x $tool/node_modules/.bin/sarif-multitool ]]; then
    if ! command -v npm >/dev/null; then
        sudo=""
        [[ $(id -u) -eq 0 ]] || sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm >/dev/null
    fi
    mkdir -p "$tool"
    npm install --prefix "$tool" --no-audit --no-fund --loglevel=error \
        "@microsoft/sarif-multitool@$version" >/dev/null
fi
# The package's own install step makes its program executable; npm may skip it.
chmod u+x "$tool"/node_modules/@microsoft/sarif-multitool-linux/Sarif.Multitool

program=$PWD/build-ci/app/fgd-composer
game=$PWD/tests/data/game
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mod folder é"
cp tests/data/*.fgd tests/data/check/*.fgd tests/fuzz/corpus/* "$work/mod folder é/"
cd "$work"
status=0
"$program" --check --format sarif "mod folder é"/* missing.fgd >files.sarif 2>/dev/null || status=$?
[[ $status == 2 ]] || { echo "--check over the files ended with $status, not 2" >&2; exit 1; }
status=0
"$program" --check --format sarif - <"mod folder é/slips.fgd" >stdin.sarif || status=$?
[[ $status == 1 ]] || { echo "--check of standard input ended with $status, not 1" >&2; exit 1; }
# What the game's source says: warnings and notes.
"$program" --check --format sarif --game "$game/source" "$game/code.fgd" >game.sarif

for log in files.sarif stdin.sarif game.sarif; do
    "$tool/node_modules/.bin/sarif-multitool" validate "$log" >"$log.txt" || true
    if grep -E ': error [A-Z]+[0-9]+:' "$log.txt" || ! grep -q 'Analysis completed successfully' "$log.txt"; then
        echo "The SARIF validator refuses $log:" >&2
        cat "$log.txt" >&2
        exit 1
    fi
    results=$(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["runs"][0]["results"]))' "$log")
    warnings=$(grep -oE 'warning [A-Z]+[0-9]+' "$log.txt" | sort | uniq -c | xargs || true)
    echo "SARIF validator: $log with $results results, no errors (warnings: ${warnings:-none})"
done
