#!/usr/bin/env bash
# Sets up, builds and starts Quillory.
set -euo pipefail
cd "$(dirname "$0")"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Quillory is a desktop program and needs a display; neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
    tools/setup.sh --with-xvfb
    echo "To run it on a virtual display instead (now installed), type:  xvfb-run -a ./run.sh" >&2
    exit 1
fi

tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quillory
exec build/quillory
