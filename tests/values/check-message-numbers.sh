#!/usr/bin/env bash
# Fails when two window messages of the program share a number: every
# "constexpr UINT WM_<name> = <number>;" in the tree's headers is collected and
# each number may belong to one name only (a name may be declared twice with
# the same number).
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 2

grep -rhoE 'constexpr[[:space:]]+UINT[[:space:]]+WM_[A-Z0-9_]+[[:space:]]*=[[:space:]]*(0[xX][0-9A-Fa-f]+|[0-9]+)' \
    --include='*.h' platform platform_qt values widgets document marking text properties app libs 2>/dev/null |
  sed -E 's/.*(WM_[A-Z0-9_]+)[[:space:]]*=[[:space:]]*([0-9A-Fa-fxX]+)/\1 \2/' |
  while read -r name value; do printf '%d %s\n' "$value" "$name"; done |
  sort -u |
  awk '{ if ($1 in owner && owner[$1] != $2) { print "message number " $1 " is both " owner[$1] " and " $2; bad = 1 } else owner[$1] = $2 }
       END { if (bad) exit 1; print "message numbers: no two messages share a number" }'
