#!/usr/bin/env bash
# The manual page fenwa-cli(1) describes everything `fenwa-cli --help` lists: every option,
# every method of -m and every parameter field of -p.
# Arguments: FENWA_CLI MAN_PAGE_SOURCE
set -euo pipefail
cli=$1 pagina=$2

# The page as text: roff's "\-" is a plain hyphen.
texto=$(sed 's/\\-/-/g' "$pagina")
ayuda=$("$cli" --help)
faltan=()
tiene() { grep -Eq -- "$1" <<<"$texto"; }

opciones=$( { grep -oE -- '--[a-z0-9][a-z0-9-]*' <<<"$ayuda"
              grep -oE -- '^ +-[a-zA-Z0-9],' <<<"$ayuda" | tr -d ' ,'; } | sort -u)
for o in $opciones; do
  tiene "(^|[^a-z0-9-])$o([^a-z0-9-]|\$)" || faltan+=("opción $o")
done

# Methods: the comma-separated list after the line of -m that ends in a colon.
bloque_m=$(awk '/^  -m, /{m=1; next} /^  -[a-zA-Z], /{m=0} m' <<<"$ayuda")
metodos=$(sed -n '/:$/,$p' <<<"$bloque_m" | tail -n +2 | tr '\n' ' ' | tr ',' '\n' |
          sed 's/^ *//; s/ *$//' | grep -v '^$' || true)
[ -n "$metodos" ] || faltan+=("(no se encuentra la lista de métodos en fenwa-cli --help)")
while IFS= read -r m; do
  [ -z "$m" ] || grep -Fq -- "$m" <<<"$texto" || faltan+=("método $m")
done <<<"$metodos"

# Parameter fields: every CAMPO=VALOR of the -p block.
bloque_p=$(awk '/^  -p, /{p=1} /^  -[a-zA-Z], |^      --/{if (!/^  -p, /) p=0} p' <<<"$ayuda")
campos=$(grep -oE '[A-Z]+[a-z][A-Za-z]*(\.[A-Z][A-Za-z]*)?=' <<<"$bloque_p" | tr -d '=' | sort -u)
[ -n "$campos" ] || faltan+=("(no se encuentran los campos de -p en fenwa-cli --help)")
for c in $campos; do
  tiene "(^|[^A-Za-z.])${c//./\\.}([^A-Za-z]|\$)" || faltan+=("campo $c")
done

if [ ${#faltan[@]} -gt 0 ]; then
  echo "La página man/$(basename "$pagina") no describe esto de fenwa-cli --help:" >&2
  printf '  %s\n' "${faltan[@]}" >&2
  echo "Añada su entrada en la sección OPCIONES, MÉTODOS o PARÁMETROS de la página." >&2
  exit 1
fi
echo "fenwa-cli(1) describe $(wc -w <<<"$opciones") opciones, $(wc -l <<<"$metodos") métodos" \
     "y $(wc -w <<<"$campos") campos de fenwa-cli --help"
