#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the tools need.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev libcairo2-dev libfontconfig-dev fonts-liberation2
  libx11-dev libxtst-dev xvfb xauth xdotool x11-utils
  clang libclang-rt-14-dev
  zam-plugins lsp-plugins-vst dpf-plugins-vst
  sox
)
if [ "${HALDEN_WITH_ARDOUR:-1}" = 1 ]; then packages+=(ardour); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -q
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
