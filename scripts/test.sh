#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test. Usage: scripts/test.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD=${VENDRIK_TEST_BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVENDRIK_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
# VENDRIK_BUILD_ONLY=1: build, run nothing.
if [ "${VENDRIK_BUILD_ONLY:-}" = 1 ]; then exit 0; fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" "$@"
