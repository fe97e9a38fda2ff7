#!/usr/bin/env bash
# Builds KOV (release) and runs it on a bundled example.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh build/release -DCMAKE_BUILD_TYPE=Release -DKOV_BUILD_TESTS=OFF
echo "== Running: kov-cli formats"
build/release/src/cli/kov-cli formats
