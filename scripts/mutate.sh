#!/usr/bin/env bash
# Mutation testing: how many deliberate faults does the test suite catch?
#
# Usage (from anywhere in the repository): scripts/mutate.sh [LIST] [ID...]
# LIST defaults to tests/mutants.tsv, the project's own list of faults a user would notice.
#
# LIST is a tab-separated file, one mutant a line ('#' lines are comments):
#   id <TAB> file (relative to the project root) <TAB> perl substitution <TAB> what a user would see
# e.g.
#   weapon-box	model/EntityLine.cpp	s#\Q"-16 -16 0, 16 16 36"\E#"-16 -16 -36, 16 16 36"#	Weapon gets the Player box
# The substitution runs once with `perl -0pi -e`, so it may span lines; it must change the file.
# \Q...\E matches text literally. Use # as the delimiter (braces in C++ would unbalance s{}{});
# in the replacement write \\n or \\" for a \n or \" that should reach the C++ source.
#
# For each mutant: copy the committed tree (git archive HEAD) to a private folder, apply the
# change, rebuild incrementally, run ctest. A failing ctest kills the mutant; a survivor is a
# fault the tests would let through (or an equivalent change: say which when you report it).
# Last line: "killed K of N (S survived, B did not build, X did not apply) at <commit>".
# The exit status is 1 when a mutant survived or did not apply.
#
#   MUT_TMP   work folder (default /tmp/mutants-<user>)
#   MUT_CTEST extra ctest arguments (default "-E soak": the soak test is slow and its faults
#             are caught by the window tests)
set -u
proj=$(git rev-parse --show-toplevel) || exit 2
list=$(realpath "${1:-$proj/tests/mutants.tsv}")
(($#)) && shift
only=("$@")
work=${MUT_TMP:-/tmp/mutants-$(id -un)}
ctest_args=${MUT_CTEST--E soak}
src=$work/src build=$work/build log=$work/log
mkdir -p "$work" "$log"
rm -rf "$src" && mkdir -p "$src" && git -C "$proj" archive HEAD | tar -x -C "$src"
rev=$(git -C "$proj" rev-parse --short HEAD)

if [[ ! -f $build/.rev || $(cat "$build/.rev") != "$rev" ]]; then
    rm -rf "$build"
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 \
        >"$log/configure.txt" 2>&1 || { echo "configure failed: $log/configure.txt"; exit 2; }
fi
cmake --build "$build" -j2 >"$log/build-base.txt" 2>&1 || { echo "unmutated build failed"; exit 2; }
# The build is kept for the next run of the same commit only when it was left unmutated: the
# tree is extracted with the commit's times, older than a mutant's objects, so a build left
# with a mutant in it would not be rebuilt.
rm -f "$build/.rev"
# shellcheck disable=SC2086
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j2 $ctest_args >"$log/ctest-base.txt" 2>&1) ||
    { echo "unmutated tests fail: $log/ctest-base.txt"; exit 2; }

killed=0 survived=0 broken=0 stale=0 total=0
while IFS=$'\t' read -r id file subst what; do
    [[ -z $id || $id == \#* ]] && continue
    if ((${#only[@]})) && [[ ! " ${only[*]} " =~ " $id " ]]; then continue; fi
    total=$((total + 1))
    target=$src/$file
    [[ -f $target ]] || { echo "STALE    $id: no $file"; stale=$((stale + 1)); continue; }
    cp "$target" "$target.orig"
    perl -0pi -e "$subst" "$target"
    if cmp -s "$target" "$target.orig"; then
        echo "STALE    $id: pattern not found in $file"; stale=$((stale + 1))
        mv "$target.orig" "$target"; continue
    fi
    if ! cmake --build "$build" -j2 >"$log/$id.build.txt" 2>&1; then
        echo "NOBUILD  $id (see $log/$id.build.txt)"; broken=$((broken + 1))
    elif (cd "$build" && QT_QPA_PLATFORM=offscreen timeout 900 ctest -j2 $ctest_args \
        >"$log/$id.ctest.txt" 2>&1); then
        echo "SURVIVED $id: $what"; survived=$((survived + 1))
    else
        echo "killed   $id"; killed=$((killed + 1))
    fi
    mv "$target.orig" "$target" && touch "$target"
done <"$list"
cmake --build "$build" -j2 >"$log/build-after.txt" 2>&1 && echo "$rev" >"$build/.rev"
echo "killed $killed of $((total - stale - broken)) ($survived survived, $broken did not build, $stale did not apply) at $rev"
((survived == 0 && stale == 0))
