#!/usr/bin/env bash
# Builds everything once more as the program ships (Release: optimised, no
# sanitizers, tests included) in a build folder of its own and runs the suite
# there: a test that passes only unoptimised proves nothing about the program.
# Usage: scripts/test-release.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD=${VENDRIK_RELEASE_BUILD_DIR:-build-release}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDRIK_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
# VENDRIK_BUILD_ONLY=1: build, run nothing.
if [ "${VENDRIK_BUILD_ONLY:-}" = 1 ]; then exit 0; fi
# The checks of the sources themselves (headers, include layers) do not
# depend on the build type, and scripts/test.sh has run them already.
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" -E '^(Headers|IncludeLayers)\.' "$@"
