#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages KOV needs
# when any is missing (with sudo when not root), then configures and builds
# one build folder. Usage: tools/setup.sh BUILD_DIR [cmake options...]
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config zlib1g-dev libmuparser-dev libcli11-dev
          nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev libqt6svg6-dev libqcustomplot-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "== Installing Debian packages: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "== Debian packages already installed"
fi

build_dir=$1
shift
echo "== Configuring $build_dir"
cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
echo "== Building $build_dir"
cmake --build "$build_dir" -j2
