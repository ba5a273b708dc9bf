#!/usr/bin/env bash
# Fails when a built shared library exports anything but the names of its
# list (one name a line, as nm shows them; blank lines and # comments skipped).
set -euo pipefail
lib=$1 expected=$2
listed=$(sed -e 's/#.*//' -e 's/[[:space:]]*$//' "$expected" | grep -v '^$' | sort)
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort)
if ! diff <(echo "$listed") <(echo "$actual"); then
  echo "$lib: exports differ from $expected (< missing, > extra)"
  exit 1
fi
echo "$lib exports exactly the $(echo "$listed" | wc -l) names of its list"
