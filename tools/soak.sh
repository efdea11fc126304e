#!/usr/bin/env bash
# The long soak on the real widgets: 100,000 seeded random clicks through the replay
# driver, then the heap over 10,000 restarts. Build first (./test.sh does).
# Usage: tools/soak.sh [clicks] [seed] [restarts] [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
clicks=${1:-100000}
seed=${2:-2}
restarts=${3:-10000}
dir=${4:-build}
export QT_QPA_PLATFORM=offscreen
exec "$dir/tests/view_soak_test" --clicks "$clicks" --seed "$seed" --restarts "$restarts"
