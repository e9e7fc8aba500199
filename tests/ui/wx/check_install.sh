#!/bin/sh
# Installs the build into a temporary prefix and checks that both programs,
# the desktop entry, the icons and the help page land where Linux desktops
# and the program look for them.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
status=0
for path in bin/valmero bin/valmero-cli; do
  [ -x "$prefix/$path" ] || { echo "missing program $path"; status=1; }
done
for path in share/applications/valmero.desktop share/valmero/help.htm \
            share/icons/hicolor/16x16/apps/valmero.png share/icons/hicolor/32x32/apps/valmero.png \
            share/icons/hicolor/48x48/apps/valmero.png; do
  [ -s "$prefix/$path" ] || { echo "missing $path"; status=1; }
done
desktop=$prefix/share/applications/valmero.desktop
for line in 'Type=Application' 'Exec=valmero' 'Icon=valmero' 'Name=VALMERO'; do
  grep -qx "$line" "$desktop" || { echo "desktop entry lacks $line"; status=1; }
done
exit $status
