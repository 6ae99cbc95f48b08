#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program on a bundled example series.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
example="examples/NileMin.sam"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/bin/fenwa "$example" "$@"
fi
# No display (a server or a container): run the program on a virtual one and keep a
# screenshot, so the build can still be seen working.
echo "No hay pantalla: FENWA se ejecuta en una pantalla virtual (Xvfb) durante 5 s."
shot="build/fenwa-captura.png"
QT_QPA_PLATFORM=offscreen FENWA_CAPTURA="$shot" FENWA_CAPTURA_SALIR=1 ./build/bin/fenwa "$example" "$@" || true
[ -f "$shot" ] && echo "Captura de la ventana principal: $shot"
exit 0
