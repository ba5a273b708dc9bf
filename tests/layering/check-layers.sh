#!/usr/bin/env bash
# Fails when a library includes a folder above it. Includes run downward:
# app, properties, marking and text, document, the shared values (and the
# small widget library), platform. The companion libraries under libs/ stand
# beside the program and may include only the platform layer and each other.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 2

rank() {
  case "$1" in
    platform|platform_qt) echo 0 ;;
    values|widgets) echo 1 ;;
    document) echo 2 ;;
    marking|text) echo 3 ;;
    properties) echo 4 ;;
    app|libs) echo 5 ;;  # the program links the companion libraries; only the shell includes them
    *) echo "" ;;
  esac
}

bad=0
for dir in platform platform_qt values widgets document marking text properties app libs; do
  [ -d "$dir" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$hit")
    if [ "$dir" = libs ]; then
      case "$target" in platform|platform_qt|libs) continue ;; esac
      echo "$file includes $target/, but a companion library may include only platform/ and libs/"
      bad=1
      continue
    fi
    mine=$(rank "$dir"); theirs=$(rank "$target")
    if [ -z "$theirs" ] || [ "$theirs" -gt "$mine" ]; then
      echo "$file includes $target/, which lies above $dir/"
      bad=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include "[a-z_]+/' "$dir" --include='*.h' --include='*.cpp' --include='*.hpp' --include='*.c')
done
if [ "$bad" -eq 0 ]; then echo "include layers: every include runs downward"; fi
exit "$bad"
