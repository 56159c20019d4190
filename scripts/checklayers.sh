#!/usr/bin/env bash
# Fails when a source folder includes a header of, or links the library of, a
# folder that does not stand below it in scripts/layers. Takes the tree to
# check as its argument (the one it lives in without).
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

declare -A level
n=0
while read -r line; do
  line=${line%%#*}
  for f in $line; do
    level[$f]=$n
  done
  [ -n "${line//[[:space:]]/}" ] && n=$((n + 1))
done <"$root/scripts/layers"

bad=0
# May $1 use $2? Its own folder, a lower layer, or no folder of this tree.
allowed() {
  [ "$1" = "$2" ] && return 0
  if [ -n "${level[$2]+x}" ]; then
    [ "${level[$2]}" -lt "${level[$1]}" ]
  else
    [ ! -d "$root/$2" ]
  fi
}

for f in "${!level[@]}"; do
  [ -d "$root/$f" ] || continue
  while IFS=: read -r file lineno text; do
    used=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([A-Za-z0-9_]+)\/.*/\1/' <<<"$text")
    if ! allowed "$f" "$used"; then
      echo "$file:$lineno: $f/ includes $used/, which does not stand below it" >&2
      bad=1
    fi
  done < <(grep -rHnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][A-Za-z0-9_]+/' \
             --include='*.h' --include='*.cpp' "$root/$f" || true)

  cmake="$root/$f/CMakeLists.txt"
  [ -f "$cmake" ] || continue
  own=$(grep -oE 'tw_library\([a-z_]+' "$cmake" | head -n1 | sed 's/tw_library(//' || true)
  for lib in $(grep -v '^[[:space:]]*#' "$cmake" | grep -oE '\btw_[a-z]+\b' | sort -u); do
    used=${lib#tw_}
    [ "$lib" = "$own" ] || [ "$lib" = "tw_library" ] || [ -z "${level[$used]+x}" ] && continue
    if ! allowed "$f" "$used"; then
      echo "$cmake: $f/ links $lib, which does not stand below it" >&2
      bad=1
    fi
  done
done
exit $bad
