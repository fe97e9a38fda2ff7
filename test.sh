#!/usr/bin/env bash
# Builds KOV with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test with ctest.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh build/sanitize -DCMAKE_BUILD_TYPE=Debug -DKOV_SANITIZE=ON
echo "== Running the tests"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/sanitize --output-on-failure -j2
