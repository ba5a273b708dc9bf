#!/usr/bin/env bash
# Builds everything a second time, with ThreadSanitizer, in a build folder of
# its own and runs the suite under it: every test once, and the tests labelled
# "threads" (vendrik_add_test(... THREADS)) three times over, since a race shows
# only when the threads happen to meet. Any report fails its test.
# Usage: scripts/test-threads.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD=${VENDRIK_TSAN_BUILD_DIR:-build-tsan}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVENDRIK_TSAN=ON -DVENDRIK_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
# VENDRIK_BUILD_ONLY=1: build, run nothing.
if [ "${VENDRIK_BUILD_ONLY:-}" = 1 ]; then exit 0; fi
# How the checker treats the Qt libraries is built into every test program
# (tests/support/TestEnvironment.cpp).
export TSAN_OPTIONS=${TSAN_OPTIONS:-second_deadlock_stack=1}
# The checks of the sources themselves (headers, include layers) run nothing
# threaded, and scripts/test.sh has run them already.
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" -LE threads -E '^(Headers|IncludeLayers)\.' "$@"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" -L threads --repeat until-fail:3 "$@"
