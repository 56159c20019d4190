#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the client.
set -euo pipefail
PKGS=(build-essential cmake pkg-config git curl xvfb xauth
      qtbase5-dev qtdeclarative5-dev libqt5sql5-sqlite qtquickcontrols2-5-dev
      qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-controls2
      qml-module-qtquick-layouts qml-module-qttest qml-module-qt-labs-platform
      qml-module-qtgraphicaleffects qml-module-qtquick-dialogs qml-module-qtquick-controls
      qml-module-qt-labs-folderlistmodel xdg-utils
      libjsoncpp-dev libmpv-dev libqrencode-dev libcurl4-openssl-dev libssl-dev
      libcpp-httplib-dev qttools5-dev qttools5-dev-tools
      ffmpeg libgl1-mesa-dri libegl-mesa0 libglx-mesa0)
PKGS+=(qttranslations5-l10n)   # Qt's own texts (buttons, file dialog) in the user's language
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
