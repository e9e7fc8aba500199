#!/usr/bin/env bash
# Makes every release file of this version into one folder:
#   valmero_VERSION_ARCH.deb           the Debian/Ubuntu package (cpack, from the default preset)
#   valmero-VERSION-windows-x64.msi    the Windows installer (wixl, from the windows preset)
#   valmero-VERSION-windows-x64.zip    the Windows programs to unpack anywhere
#   SHA256SUMS                         their checksums
#   scripts/package.sh [OUTPUT_FOLDER]     (default: release/ in the repository)
# A publisher names their web site and themselves at configure time, e.g.
#   cmake --preset default -DVALMERO_SITE_ADDRESS=https://example.org/valmero \
#         -DVALMERO_MAINTAINER="Name <address>"      (and the same for --preset windows)
set -euo pipefail
cd "$(dirname "$0")/.."
output="$(mkdir -p "${1:-release}" && realpath "${1:-release}")"

bash scripts/setup.sh --tests
rm -f "$output"/valmero[_-]*.{deb,msi,zip} "$output/SHA256SUMS"

echo "== The Debian package"
cmake --preset default >/dev/null
cmake --build --preset default --target valmero valmero-cli valmero_help_page valmero_notices valmero_linux_documents
(cd build && cpack -G DEB -D CPACK_OUTPUT_FILE_PREFIX="$output" >/dev/null)

echo "== The Windows installer and zip"
bash scripts/package-windows.sh "$output" >/dev/null

(cd "$output" && sha256sum valmero[_-]*.{deb,msi,zip} >SHA256SUMS)
ls -l "$output"
