#!/usr/bin/env python3
"""Times the program's start-up against a minimal Qt window, run for run, interleaved.

Each run starts a fresh process that builds one window, shows it and quits at its first
paint (bench_startup_window real|minimal). Prints, per platform, the median wall time of
each, their ratio, and the peak resident size of each.

Usage: startup.py BENCH_STARTUP_WINDOW [RUNS] [PLATFORM ...]
PLATFORM is "offscreen" or "xvfb" (a display the caller started, named by $DISPLAY).
"""
import os
import statistics
import subprocess
import sys
import time


def run_once(binary, kind, env):
    start = time.perf_counter()
    proc = subprocess.Popen([binary, kind], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{kind} start-up failed with status {status}")
    return elapsed * 1000.0, usage.ru_maxrss / 1024.0  # ms, MB


def main():
    binary = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    platforms = sys.argv[3:] or ["offscreen"]
    for platform in platforms:
        env = dict(os.environ)
        if platform == "offscreen":
            env["QT_QPA_PLATFORM"] = "offscreen"
        else:
            env["QT_QPA_PLATFORM"] = "xcb"
        times = {"real": [], "minimal": []}
        rss = {"real": [], "minimal": []}
        for kind in ("real", "minimal"):  # warm the file cache, not counted
            run_once(binary, kind, env)
        for _ in range(runs):
            for kind in ("real", "minimal"):
                ms, mb = run_once(binary, kind, env)
                times[kind].append(ms)
                rss[kind].append(mb)
        real = statistics.median(times["real"])
        minimal = statistics.median(times["minimal"])
        print(f"startup {platform}: main window {real:.1f} ms, minimal Qt window {minimal:.1f} ms,"
              f" ratio {real / minimal:.2f}; peak RSS {max(rss['real']):.1f} MB vs"
              f" {max(rss['minimal']):.1f} MB (+{max(rss['real']) - max(rss['minimal']):.1f} MB)")


if __name__ == "__main__":
    main()
