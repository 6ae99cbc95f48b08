#!/usr/bin/env bash
# Makes the pictures of the manual (docs/img/) with the program's own picture test: builds
# test_ui, runs UiTest.Capturas offscreen under the Spanish locale into a temporary folder,
# and copies into docs/img/ exactly the pictures docs/manual.md shows (img/<name>.png),
# removing the others. A picture the manual names but the test does not make is an error.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD"
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target test_ui

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
if ! QT_QPA_PLATFORM=offscreen LC_ALL=es_ES.UTF-8 FENWA_CAPTURAS="$tmp/img" \
     build/bin/test_ui --gtest_filter=UiTest.Capturas >"$tmp/salida.txt" 2>&1; then
  cat "$tmp/salida.txt" >&2
  exit 1
fi

mkdir -p docs/img
rm -f docs/img/*.png
faltan=0
for nombre in $(grep -o 'img/[A-Za-z0-9_]*\.png' docs/manual.md | sort -u); do
  if [ -f "$tmp/$nombre" ]; then
    cp "$tmp/$nombre" "docs/$nombre"
  else
    echo "capturas.sh: la prueba no ha hecho docs/$nombre" >&2
    faltan=1
  fi
done
echo "capturas.sh: $(ls docs/img | wc -l) imágenes en docs/img ($(du -sk docs/img | cut -f1) KB)"
exit "$faltan"
