#!/usr/bin/env bash
# Every option that `fenwa-cli --help` lists has its entry in the manual page fenwa-cli(1).
# Arguments: FENWA_CLI MAN_PAGE_SOURCE
set -euo pipefail
cli=$1 pagina=$2

# The page as text: roff's "\-" is a plain hyphen.
texto=$(sed 's/\\-/-/g' "$pagina")
ayuda=$("$cli" --help)
opciones=$( { grep -oE -- '--[a-z0-9][a-z0-9-]*' <<<"$ayuda"
              grep -oE -- '^ +-[a-zA-Z0-9],' <<<"$ayuda" | tr -d ' ,'; } | sort -u)
faltan=()
for o in $opciones; do
  grep -Eq -- "(^|[^a-z0-9-])$o([^a-z0-9-]|\$)" <<<"$texto" || faltan+=("$o")
done
if [ ${#faltan[@]} -gt 0 ]; then
  echo "La página man/$(basename "$pagina") no describe estas opciones de fenwa-cli --help:" >&2
  printf '  %s\n' "${faltan[@]}" >&2
  echo "Añada una entrada .TP por opción en su sección OPCIONES." >&2
  exit 1
fi
echo "$(wc -w <<<"$opciones") opciones de fenwa-cli --help descritas en fenwa-cli(1)"
