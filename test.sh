#!/usr/bin/env bash
# Sets up, builds and runs every test. With --sanitize, builds into build-sanitize
# with AddressSanitizer and UndefinedBehaviorSanitizer (desktop tests only).
# Without it, the browser view follows: the site is built (tools/web-build.sh), the
# browser tests run in headless Chromium, and the recorded walk is replayed on the
# page and compared with the desktop driver's, line by line.
set -euo pipefail
cd "$(dirname "$0")"

dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
sanitize=false
if [[ "${1:-}" == "--sanitize" ]]; then
    sanitize=true
    dir=build-sanitize
    options=(-DCMAKE_BUILD_TYPE=Debug -DQUILLORY_SANITIZE=ON)
fi

tools/setup.sh
cmake -S . -B "$dir" "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure

if ! $sanitize; then
    started=$SECONDS
    JOBS=$(nproc) tools/web-build.sh
    echo "Browser tests"
    (cd web && npx --no-install playwright test)
    echo "The recorded walk on the page"
    node web/driver/compare-walk.mjs
    echo "Browser view checked in $((SECONDS - started)) s"
fi
