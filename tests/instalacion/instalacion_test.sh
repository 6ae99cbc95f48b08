#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and uses what was installed: the programs
# answer --version and --help (fenwa without a display), the installed fenwa-cli analyses
# an installed example, the icons, manual pages and desktop entry are in place, and the
# desktop entry validates (with desktop-file-validate, when it is installed).
#
# Arguments: CMAKE BUILD_DIR SOURCE_DIR VERSION PREFIX BINDIR DATADIR MANDIR DOCDIR, the
# last five as absolute installed paths.
set -euo pipefail
cmake=$1 build=$2 fuente=$3 version=$4
prefijo=$5 bindir=$6 datadir=$7 mandir=$8 docdir=$9

raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
fallos=0
falla() { echo "FALLO: $*" >&2; fallos=$((fallos + 1)); }

DESTDIR="$raiz" "$cmake" --install "$build" >"$raiz/instalacion.log" ||
  { cat "$raiz/instalacion.log" >&2; echo "FALLO: cmake --install" >&2; exit 1; }
bin="$raiz$bindir" datos="$raiz$datadir"

# Programs and their informative options.
for p in fenwa fenwa-cli; do
  [ -x "$bin/$p" ] || falla "no se ha instalado $bindir/$p"
done
[ "$("$bin/fenwa-cli" --version)" = "fenwa-cli $version" ] || falla "fenwa-cli --version"
[ "$("$bin/fenwa" --version)" = "fenwa $version" ] || falla "fenwa --version"
ayuda=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/fenwa" --help) ||
  falla "fenwa --help sin pantalla no termina con 0"
[[ "$ayuda" == "Uso: fenwa "* ]] || falla "fenwa --help no empieza por el uso: $ayuda"

# The installed fenwa-cli on an installed example.
ejemplo="$datos/fenwa/examples/NileMin.sam"
if [ -f "$ejemplo" ]; then
  salida=$("$bin/fenwa-cli" -m R/S "$ejemplo") || falla "fenwa-cli -m R/S terminó con $?"
  for patron in '^Nombre: NileMin$' '^Longitud: 663$' '^Parámetro Hurst H = 0\.[5-9][0-9]*$' \
                '^Método R/S\. Parámetros:$'; do
    grep -Eq "$patron" <<<"$salida" || falla "la salida de fenwa-cli no tiene /$patron/: $salida"
  done
  json=$("$bin/fenwa-cli" -m "Whittle Local" --json "$ejemplo") || falla "fenwa-cli --json"
  grep -q '"nombre":"NileMin","longitud":663,"metodo":"Whittle Local","estado":0,' <<<"$json" ||
    falla "objeto JSON inesperado: $json"
else
  falla "no se ha instalado $datadir/fenwa/examples/NileMin.sam"
fi
for f in "$fuente"/examples/*.sam; do
  cmp -s "$f" "$datos/fenwa/examples/$(basename "$f")" || falla "ejemplo $(basename "$f")"
done

# Icons: a PNG of each usual size (its IHDR width and height) and the SVG.
for lado in 16 22 24 32 48 64 128 256; do
  png="$datos/icons/hicolor/${lado}x${lado}/apps/fenwa.png"
  if [ ! -f "$png" ]; then
    falla "falta el icono ${lado}x${lado}"
    continue
  fi
  medidas=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ')
  [ "$medidas" = " 0 0 $((lado / 256)) $((lado % 256)) 0 0 $((lado / 256)) $((lado % 256))" ] ||
    falla "el icono ${lado}x${lado} mide otra cosa: $medidas"
done
grep -q '<svg ' "$datos/icons/hicolor/scalable/apps/fenwa.svg" 2>/dev/null || falla "falta el icono SVG"

# Manual pages, checked by groff when it is there.
for pagina in fenwa fenwa-cli; do
  man="$raiz$mandir/man1/$pagina.1"
  if [ ! -f "$man" ]; then
    falla "falta la página de manual $pagina(1)"
  elif command -v groff >/dev/null && command -v preconv >/dev/null; then
    avisos=$(preconv -e UTF-8 "$man" | groff -man -Tutf8 -ww -z 2>&1) || true
    [ -z "$avisos" ] || falla "groff avisa en $pagina(1): $avisos"
  fi
done

# Documents, once the repository has them.
if [ -d "$fuente/docs" ]; then
  for f in "$fuente"/docs/*.md; do
    [ -e "$f" ] || continue
    [ -f "$raiz$docdir/$(basename "$f")" ] || falla "no se ha instalado docs/$(basename "$f")"
  done
fi

# Desktop entry: its command and icon are the installed ones; it validates.
escritorio="$datos/applications/fenwa.desktop"
if [ -f "$escritorio" ]; then
  grep -q '^Exec=fenwa ' "$escritorio" || falla "Exec no ejecuta fenwa"
  grep -q '^Icon=fenwa$' "$escritorio" || falla "Icon no es fenwa"
  grep -q '^Categories=.*Science;' "$escritorio" || falla "falta la categoría Science"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$escritorio" || falla "desktop-file-validate rechaza fenwa.desktop"
  else
    echo "desktop-file-validate no está instalado: no se valida fenwa.desktop"
  fi
else
  falla "falta $datadir/applications/fenwa.desktop"
fi
[ -f "$datos/mime/packages/fenwa.xml" ] || falla "falta el tipo MIME de las series"

[ "$fallos" -eq 0 ] || { echo "$fallos fallos" >&2; exit 1; }
echo "instalación en $prefijo (DESTDIR temporal): correcta"
