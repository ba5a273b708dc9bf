#!/usr/bin/env bash
# Fails when a library includes a folder above it. Includes run downward:
# app, properties, marking and text, document, the shared values (and the
# small widget library), platform. The companion libraries under libs/ stand
# beside the program and may include only the platform layer and each other.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 2

dirs=()
for dir in platform platform_qt values widgets document marking text properties app libs; do
  [ -d "$dir" ] && dirs+=("$dir")
done
# One pass over every include line: "file:line:text" in, the offences out.
grep -rnE '^[[:space:]]*#[[:space:]]*include "[a-z_]+/' "${dirs[@]}" \
    --include='*.h' --include='*.cpp' --include='*.hpp' --include='*.c' |
  awk '
    BEGIN {
      rank["platform"] = 0; rank["platform_qt"] = 0
      rank["values"] = 1; rank["widgets"] = 1
      rank["document"] = 2
      rank["marking"] = 3; rank["text"] = 3
      rank["properties"] = 4
      rank["app"] = 5; rank["libs"] = 5  # the program links the companion libraries; only the shell includes them
    }
    {
      file = $0; sub(/:.*/, "", file)
      dir = file; sub(/\/.*/, "", dir)
      target = $0; sub(/^[^:]*:[0-9]+:/, "", target)
      sub(/^[[:space:]]*#[[:space:]]*include[[:space:]]*"/, "", target); sub(/\/.*/, "", target)
      if (dir == "libs") {
        if (target == "platform" || target == "platform_qt" || target == "libs") next
        print file " includes " target "/, but a companion library may include only platform/ and libs/"
        bad = 1
        next
      }
      if (!(target in rank) || rank[target] > rank[dir]) {
        print file " includes " target "/, which lies above " dir "/"
        bad = 1
      }
    }
    END {
      if (!bad) print "include layers: every include runs downward"
      exit bad
    }'
