#!/usr/bin/env bash
# Runs every benchmark and writes the Markdown table of the long exchanges against their floor.
#   scripts/bench.sh [runs] [stream-seconds]     (defaults: 5 runs, 60 s of live stream)
# The table goes to stdout and to build/bench-results.md, headed by the machine and its load.
# BENCH_RT=1 runs the measurements at real-time priority (needs root): on a machine busy with other
# work, their threads then wait less for a processor.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-5}
stream=${2:-60}
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target bench_exchanges orva kivrel-sim >/dev/null

out=build/bench-results.md
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
{
    echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on ${cpu:-an unknown CPU} ($(nproc) cores," \
        "$(free -g | awk '/^Mem:/ {print $2}') GB), $(. /etc/os-release && echo "$PRETTY_NAME"), Qt" \
        "$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null | cut -d+ -f1), offscreen;" \
        "load average before: $(cut -d' ' -f1-3 /proc/loadavg)."
    echo
    priority=()
    [ "${BENCH_RT:-0}" = 1 ] && priority=(chrt -f 1) && printf 'Run at real-time priority (chrt -f 1).\n\n'
    QT_QPA_PLATFORM=offscreen "${priority[@]}" build/bin/bench_exchanges --runs "$runs" \
        --stream-seconds "$stream"
    echo
    echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)."
} | tee "$out"
