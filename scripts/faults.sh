#!/usr/bin/env bash
# Runs each long exchange in fresh windows of the real tool (offscreen) against the simulated
# controller under each line fault, and prints per cell how many runs completed, stalled with the
# notice beside the port list, or stalled silently. Writes the table to build/faults-results.md.
#   scripts/faults.sh          20 runs of each exchange, the 64 KiB upgrade included
#   scripts/faults.sh 5 3      5 runs of each, 3 of the upgrade
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-20}
upgrade_runs=${2:-$runs}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target bench_faults >/dev/null
QT_QPA_PLATFORM=offscreen build/bin/bench_faults --runs "$runs" --upgrade-runs "$upgrade_runs" \
    --markdown build/faults-results.md
