#!/usr/bin/env bash
# Reads aloud for real: on a virtual display, with a sound server whose only
# output is a silent sink, presses R on a lesson question, the quiz and a game
# lead-in with its word list, and checks the utterances in the speech log.
# Needs `tools/setup.sh --with-speech` and a built build/quillory-shots.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=$(realpath build/quillory-shots)

runtime=$(mktemp -d)
log="$runtime/speech.log"
export XDG_RUNTIME_DIR="$runtime"
pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
    --load="module-null-sink sink_name=silent" --load="module-native-protocol-unix" \
    2>/dev/null
stop_sound() {
    if [[ -f "$runtime/pulse/pid" ]]; then
        kill "$(cat "$runtime/pulse/pid")" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap stop_sound EXIT

{
    # Lesson 1, the first question with its three choices.
    printf 'click C1\nclick C2\nkey Return\nkey Return\nkey Return\nkey R\nwait 8\n'
    printf 'key H\nwait 0.5\nkey H\nkey Escape\nkey Return\n'
    # The quiz's first sentence.
    printf 'click C7\nkey R\nwait 3\nkey Escape\n'
    # The game: the third question's lead-in, with its word list; R again stops.
    printf 'click C17\n'
    for _ in $(seq 12); do printf 'key Return\n'; done
    printf 'key Return\nkey 1\nkey Return\nkey 2\nkey R\nwait 1\nkey R\nwait 0.5\nkey R\nwait 10\n'
} | QT_LOGGING_RULES="${QT_LOGGING_RULES:-quillory.speech.info=true}" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$shots" >/dev/null 2>"$log"

cat "$log"
expected=(
    "say This is a pen." "say I love you." "say How old are you?"
    "say Mary likes music."
    "say She will not be at home when you, blank, to see her." "stop"
    "say come" "say came" "say will come" "say coming"
)
status=0
for line in "${expected[@]}"; do
    if ! grep -qxF "quillory.speech: $line" "$log"; then
        echo "missing from the speech log: $line" >&2
        status=1
    fi
done
if grep -q "^quillory.speech: voice " "$log" && ((status == 0)); then
    echo "speech check passed"
else
    echo "speech check failed" >&2
    status=1
fi
exit "$status"
