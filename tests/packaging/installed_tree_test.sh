#!/usr/bin/env bash
# Installs BUILD_DIR into a temporary prefix and checks that exactly the expected files land there,
# with each icon at its size and a desktop entry that passes the chosen file.
# Usage: installed_tree_test.sh BUILD_DIR WITH_GUI(ON|OFF)
set -euo pipefail
build="$1"; gui="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(bin/tarnwick-cli share/man/man1/tarnwick-cli.1.gz)
sizes=(16 32 48 64 128 256)
if [ "$gui" = ON ]; then
  expected+=(bin/tarnwick share/man/man1/tarnwick.1.gz share/applications/tarnwick.desktop
             share/mime/packages/tarnwick.xml)
  for s in "${sizes[@]}"; do expected+=("share/icons/hicolor/${s}x${s}/apps/tarnwick.png"); done
fi
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | cut -c3- | sort)
[ "$gui" = ON ] || exit 0

for s in "${sizes[@]}"; do
  # The PNG header's width and height, big-endian at bytes 16 to 23.
  size="$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${s}x${s}/apps/tarnwick.png" |
    awk '{print $3*256+$4 "x" $7*256+$8}')"
  [ "$size" = "${s}x${s}" ] || { echo "the ${s}x${s} icon is $size" >&2; exit 1; }
done
desktop="$prefix/share/applications/tarnwick.desktop"
grep -qx 'Exec=tarnwick %f' "$desktop" || { echo "the entry does not pass the file" >&2; exit 1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
