#!/usr/bin/env bash
# Installs the Debian packages that building and testing Virel needs, and the dialog program and
# browser opener its editor uses for a person at a desktop (zenity, xdg-open). Idempotent: prints nothing
# when everything is already there. Runs as root without prompts (or through sudo when available).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libresample1-dev libexpat1-dev
  libcairo2-dev libpng-dev libx11-dev fontconfig fonts-liberation2 fonts-dejavu-core xvfb
  zenity xdg-utils
  libsndfile1-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
