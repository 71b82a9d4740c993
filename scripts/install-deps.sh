#!/usr/bin/env bash
# Installs the Debian packages Ombrisk builds, runs and tests with, skipping those already present:
# Qt's translation tools (lupdate, lrelease), Noto fonts so that names in any script (Japanese,
# emoji) draw, clang with its libFuzzer runtime for the archive fuzzer, and the desktop-entry and
# metainfo validators and dbus-run-session the packaging and single-instance tests use, and the
# desktop's trash tools (gio, trash-list) the trash tests check their own trash against, and
# ntfs-3g and mkfs.vfat for the tests that unpack onto disk images of those file systems.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-declarative-dev qt6-svg-dev qt6-pdf-dev libgl-dev
  qt6-tools-dev qt6-l10n-tools
  qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-templates qml6-module-qtquick-window qml6-module-qtquick-dialogs
  qml6-module-qtquick-pdf
  libicu-dev libzip-dev libarchive-dev nettle-dev zlib1g-dev libdeflate-dev libisal-dev
  libvips-dev libvips-tools
  7zip unar zip unzip libarchive-tools imagemagick poppler-utils zstd xz-utils bzip2
  xvfb xauth fonts-dejavu-core
  desktop-file-utils appstream dbus
  libglib2.0-bin trash-cli
  fonts-noto-core fonts-noto-cjk fonts-noto-color-emoji
  clang libclang-rt-14-dev
  ntfs-3g dosfstools
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
