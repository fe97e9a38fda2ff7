#!/usr/bin/env bash
# Builds KOV (release) and runs it on a bundled example recording.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh build/release -DCMAKE_BUILD_TYPE=Release -DKOV_BUILD_TESTS=OFF
example=examples/comtrade/fault_3ph_60hz.cfg
echo "== The quantities of $example (kov-cli list)"
build/release/src/cli/kov-cli list "$example"
echo "== Loading them onto the stack (kov-cli load): key, kind, points"
build/release/src/cli/kov-cli load "$example"
