#!/usr/bin/env bash
# Installs every Debian package Quillmere needs to build, run and test.
# Non-interactive; installs only what is missing; runs apt-get update only when it must install.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6multimedia6
  qt6-qpa-plugins libgl1-mesa-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-liberation
  # fonts the card and the tables fall back to for other scripts: Cyrillic, Greek,
  # Arabic, Hebrew, Devanagari (core), Chinese, Japanese, Korean (cjk), emoji
  fonts-noto-core fonts-noto-cjk fonts-noto-color-emoji
  xvfb xauth imagemagick
  # a window manager, for screenshots with window captions, and the keys that drive them
  openbox xdotool
  espeak-ng sox
  # speech for the sides without a sound: Qt's text-to-speech, whose headers
  # need QtQmlIntegration from qt6-declarative-dev (Debian's qt6-speech-dev
  # does not pull it in), and speech-dispatcher with espeak-ng voices in
  # about a hundred languages behind it
  qt6-speech-dev libqt6texttospeech6 qt6-declarative-dev
  qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng
  pulseaudio pulseaudio-utils alsa-utils
  # the manual page and the icon pictures made at build time
  help2man librsvg2-bin
  # the Debian package and the checks run on it (scripts/package-check.sh)
  dpkg-dev desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
