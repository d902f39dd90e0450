#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine lacks to build, test and run
# OrvexGDI. Idempotent: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libqt6opengl6-dev qt6-svg-dev qt6-tools-dev
  libjpeg-dev libgif-dev fonts-dejavu-core
  xvfb xauth x11-utils imagemagick poppler-utils
  python3 python3-ezdxf python3-matplotlib python3-numpy python3-pil libocct-data-exchange-dev libdxflib-dev hershey-fonts-data
  clang llvm libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
