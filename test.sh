#!/usr/bin/env bash
# Sets up, builds and runs every test. With --sanitize, builds into build-sanitize
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"

dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [[ "${1:-}" == "--sanitize" ]]; then
    dir=build-sanitize
    options=(-DCMAKE_BUILD_TYPE=Debug -DQUILLORY_SANITIZE=ON)
fi

tools/setup.sh
cmake -S . -B "$dir" "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure
