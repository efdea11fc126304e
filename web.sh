#!/usr/bin/env bash
# Builds the web site and serves it on http://localhost:8080/ (PORT=N for another port).
set -euo pipefail
cd "$(dirname "$0")"

tools/web-build.sh
port=${PORT:-8080}
echo "Quillory is served on http://localhost:$port/  (Ctrl+C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
