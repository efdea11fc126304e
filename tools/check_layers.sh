#!/usr/bin/env bash
# Fails when a lower layer includes a higher one: the screen model (ui/) nothing
# above it, the content screens (lessons/, quiz/, game/) neither the app nor the
# view, the app (app/) not the view, the view (ui/qt/) not the tools. The
# program's start-up (app/main.cpp) stands above them all.
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2
status=0
check() { # folder, pattern of what it must not include, files passed over
    local hits
    hits=$(grep -rnE "#include \"($2)" "$1" --include='*.h' --include='*.cpp' 2>/dev/null |
        grep -vE "^(${3:-//})")
    if [[ -n "$hits" ]]; then
        echo "$1 includes a higher layer:"
        echo "$hits"
        status=1
    fi
}
check ui 'app/|lessons/|quiz/|game/|record/|tools/|ui/qt/' 'ui/qt/'
check ui/qt 'tools/'
check lessons 'app/|ui/qt/|tools/|quiz/|game/'
check quiz 'app/|ui/qt/|tools/|lessons/|game/'
check game 'app/|ui/qt/|tools/|lessons/|quiz/'
check record 'app/|ui/|lessons/|quiz/|game/|tools/'
check app 'ui/qt/|tools/' 'app/main.cpp'
[[ $status -eq 0 ]] && echo "layers: every include points down"
exit $status
