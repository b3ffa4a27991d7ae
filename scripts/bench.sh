#!/usr/bin/env bash
# Builds and runs every benchmark and prints a short table of the figures that have targets:
# the model (Google Benchmark), start-up against a minimal Qt window (offscreen and under
# Xvfb), Edit and Update on a 5 MB line, and filling the whole list through the main window.
set -euo pipefail
cd "$(dirname "$0")/.."

FGD_WITH_DISPLAY_TOOLS=1 FGD_WITH_BENCHMARK=1 source scripts/setup.sh
cmake --preset default -DFGD_BUILD_BENCHMARKS=ON >/dev/null
cmake --build --preset default >/dev/null

echo "== model (median of 5 repetitions)"
./build/bench/bench_model --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=console 2>/dev/null | grep -E "_median" | sed 's/_median//'

echo "== start-up (30 runs each, interleaved)"
python3 bench/startup.py ./build/bench/bench_startup_window 30 offscreen
display=:${FGD_XVFB_DISPLAY:-94}
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 0.5
DISPLAY=$display python3 bench/startup.py ./build/bench/bench_startup_window 30 xvfb

echo "== a 5 MB line: Edit and Update until painted (under Xvfb; target: each under 1,000 ms)"
DISPLAY=$display ./build/bench/bench_long_line 2>/dev/null

echo "== fill: Add pressed until the list is full, source view open (offscreen)"
QT_QPA_PLATFORM=offscreen ./build/bench/bench_fill 2>/dev/null
