#!/usr/bin/env bash
# Fails when a built library exports anything but its listed routines.
set -euo pipefail
lib=$1 expected=$2
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort)
if ! diff <(sort "$expected") <(echo "$actual"); then
  echo "$lib: exports differ from $expected (< missing, > extra)"
  exit 1
fi
echo "$lib exports exactly $(wc -l <"$expected") routines"
