#!/usr/bin/env bash
# Checks what a screen reader finds in Quillory, over AT-SPI with a real client, on
# a virtual display with its own session bus. Needs `tools/setup.sh --with-atspi`
# and a built program (build/quillory, or the path given).
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/quillory}")
export DISPLAY_HEIGHT=1024
exec xvfb-run -a -s "-screen 0 1280x${DISPLAY_HEIGHT}x24" \
    dbus-run-session -- /usr/bin/python3 tools/check_atspi.py "$program"
