#!/usr/bin/env bash
# Fails when a page folder under qml/compoments/ is not a whole module: its
# qmldir must name the folder's path as the module and list every QML file of
# the folder, and a .qrc must carry it, or a page importing the folder by name
# misses a type.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root/qml"
bad=0
# Every file the .qrc files carry, by its path from here.
carried=$(find . -name '*.qrc' | while read -r qrc; do
  sed -nE 's|.*<file[^>]*>([^<]+)</file>.*|\1|p' "$qrc" |
    while read -r f; do realpath -m --relative-to=. "$(dirname "$qrc")/$f"; done
done)
while read -r dir; do
  dir=${dir#./}
  qmldir="$dir/qmldir"
  if [ ! -f "$qmldir" ]; then
    echo "$qmldir: missing" >&2
    bad=1
    continue
  fi
  module="module ${dir//\//.}"
  if [ "$(head -n1 "$qmldir")" != "$module" ]; then
    echo "$qmldir: first line is not \"$module\"" >&2
    bad=1
  fi
  for f in "$dir"/*.qml; do
    name=$(basename "$f" .qml)
    if ! grep -qxE "$name [0-9]+\.[0-9]+ $name\.qml" "$qmldir"; then
      echo "$qmldir: does not list $name.qml" >&2
      bad=1
    fi
  done
  while read -r _ _ file; do
    if [ ! -f "$dir/$file" ]; then
      echo "$qmldir: lists $file, which is not there" >&2
      bad=1
    fi
  done < <(grep -E '^[A-Z][A-Za-z0-9_]* [0-9]' "$qmldir")
  if ! grep -qx "$qmldir" <<<"$carried"; then
    echo "$qmldir: in no .qrc" >&2
    bad=1
  fi
done < <(find compoments -name '*.qml' -printf '%h\n' | sort -u)
exit $bad
