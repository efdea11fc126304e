#!/usr/bin/env bash
# Installs the Debian packages Quillory needs to build, test and run.
#   --with-xvfb    also a virtual display, for screenshots
#   --with-atspi   also a virtual display, a session bus and an AT-SPI client, for
#                  tools/check_atspi.sh
#   --with-speech  also a virtual display and a sound server, for tools/check_speech.sh
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    qt6-speech-dev libqt6texttospeech6 qt6-speech-flite-plugin
    qt6-declarative-dev # Qt6TextToSpeech's CMake package needs Qt6QmlIntegration from here
    libgtest-dev libgmock-dev googletest
    libsqlite3-dev
    fonts-noto-cjk
    qt6-translations-l10n # Qt's own Japanese: the text box's context menu
    desktop-file-utils appstream dpkg-dev
)
for option in "$@"; do
    case "$option" in
    --with-xvfb) packages+=(xvfb xauth) ;;
    --with-atspi) packages+=(xvfb xauth dbus dbus-x11 at-spi2-core python3-pyatspi) ;;
    --with-speech) packages+=(xvfb xauth pulseaudio) ;;
    *)
        echo "unknown option: $option" >&2
        exit 2
        ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    sudo_cmd=()
elif command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
else
    echo "error: need root or sudo to install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
