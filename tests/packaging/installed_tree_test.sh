#!/usr/bin/env bash
# Installs BUILD_DIR into a temporary prefix and checks that exactly the expected files land there:
# both programs, their man pages, the desktop entry, the MIME type and the icon at every size.
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
actual="$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)"
wanted="$(printf '%s\n' "${expected[@]}" | sort)"
if [ "$actual" != "$wanted" ]; then
  diff <(echo "$wanted") <(echo "$actual") || true
  echo "the installed tree differs from the expected one (< expected, > installed)" >&2
  exit 1
fi

status=0
for page in "$prefix"/share/man/man1/*.1.gz; do
  # A page with a macro error would show as an empty or broken page.
  if ! gzip -dc "$page" | grep -q '^\.SH SYNOPSIS'; then
    echo "$page is not a readable man page" >&2; status=1
  fi
done
if [ "$gui" = ON ]; then
  for s in "${sizes[@]}"; do
    icon="$prefix/share/icons/hicolor/${s}x${s}/apps/tarnwick.png"
    # The PNG header's width and height, big-endian at bytes 16 to 23.
    size="$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')"
    if [ "$size" != "${s}x${s}" ]; then
      echo "$icon is $size, not ${s}x${s}" >&2; status=1
    fi
  done
  desktop="$prefix/share/applications/tarnwick.desktop"
  grep -qx 'Exec=tarnwick %f' "$desktop" || { echo "the entry does not pass the file" >&2; status=1; }
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || status=1
  fi
  if command -v xmllint >/dev/null; then
    xmllint --noout "$prefix/share/mime/packages/tarnwick.xml" || status=1
  fi
fi
exit $status
