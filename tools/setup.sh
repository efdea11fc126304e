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

exec "$(dirname "$0")/install_packages.sh" "${packages[@]}"
