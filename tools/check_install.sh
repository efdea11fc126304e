#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks what a desktop expects:
# the program and its 49 pictures in one folder, the bin link, a valid desktop entry,
# icon and metainfo, and a program that finds its pictures when started elsewhere.
#   tools/check_install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
prefix=$(mktemp -d)
elsewhere=$(mktemp -d)
trap 'rm -rf "$prefix" "$elsewhere"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null
cmake --install "$build" --prefix "$prefix" --component driver >/dev/null

program="$prefix/lib/quillory"
[[ -x "$program/quillory" ]] || fail "no program in lib/quillory"
[[ -L "$prefix/bin/quillory" ]] || fail "bin/quillory is not a link"
[[ "$(readlink -f "$prefix/bin/quillory")" == "$(readlink -f "$program/quillory")" ]] ||
    fail "bin/quillory does not lead to lib/quillory/quillory"
pictures=$(find "$program" -maxdepth 1 -name '*.bmp' | wc -l)
[[ "$pictures" -eq 49 ]] || fail "$pictures pictures beside the program, not 49"

desktop="$prefix/share/applications/org.quillory.Quillory.desktop"
metainfo="$prefix/share/metainfo/org.quillory.Quillory.metainfo.xml"
icon="$prefix/share/icons/hicolor/scalable/apps/org.quillory.Quillory.svg"
for f in "$desktop" "$metainfo" "$icon"; do
    [[ -f "$f" ]] || fail "missing ${f#"$prefix"/}"
done
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli validate"

# Started through a link from another folder, the program still finds its pictures.
ln -s "$program/quillory-replay" "$elsewhere/quillory-replay"
state=$(cd "$elsewhere" && printf 'click C1\nclick C2\n' | ./quillory-replay 2>/dev/null | tail -n 1)
grep -q '"file": "gal1.bmp", "loaded": true' <<<"$state" ||
    fail "the lesson's teacher picture was not loaded: $state"

# The real program starts from its link and keeps running until stopped.
set +e
(cd "$elsewhere" && QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/quillory" 2>"$elsewhere/err")
status=$?
set -e
[[ $status -eq 124 ]] || fail "bin/quillory exited with $status: $(cat "$elsewhere/err")"

if ((failures > 0)); then
    echo "$failures install check(s) failed" >&2
    exit 1
fi
echo "install layout, desktop entry, metainfo and pictures: all good"
