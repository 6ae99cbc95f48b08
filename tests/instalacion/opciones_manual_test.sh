#!/usr/bin/env bash
# The manual page fenwa-cli(1) describes everything `fenwa-cli --help` lists: every option,
# every method of -m, every parameter field of -p, and every subcommand with the options
# and models of its own --help.
# Arguments: FENWA_CLI MAN_PAGE_SOURCE
set -euo pipefail
cli=$1 pagina=$2

# The page as text: roff's "\-" is a plain hyphen.
texto=$(sed 's/\\-/-/g' "$pagina")
faltan=()
tiene() { grep -Eq -- "$1" <<<"$texto"; }
cuenta=0

# Options of a help text: "--largas" anywhere, "-c" at the start of an option line.
RevisarOpciones() {  # HELP WHERE
  local o
  for o in $( { grep -oE -- '--[a-z0-9][a-z0-9-]*' <<<"$1"
                grep -oE -- '^ +-[a-zA-Z0-9]([ ,]|$)' <<<"$1" | tr -d ' ,'; } | sort -u); do
    cuenta=$((cuenta + 1))
    tiene "(^|[^a-z0-9-])$o([^a-z0-9-]|\$)" || faltan+=("opción $o$2")
  done
}

ayuda=$("$cli" --help)
RevisarOpciones "$ayuda" ""

# Methods: the comma-separated list that follows the line of -m ending in a colon, up to
# its first line without a trailing comma; the quoted names of the -m entry as well.
bloque_m=$(awk '/^  -m, /{m=1} /^  -[a-zA-Z], /{if (!/^  -m, /) m=0} m' <<<"$ayuda")
metodos=$( { awk 'lista {print; if (!/,$/) exit} /:$/ {lista=1}' <<<"$bloque_m" |
             tr '\n' ',' | tr ',' '\n'
             grep -oE '"[^"]+"' <<<"$bloque_m" | tr -d '"'; } |
           sed 's/^ *//; s/ *$//' | grep -v '^$' | sort -u || true)
[ -n "$metodos" ] || faltan+=("(no se encuentra la lista de métodos en fenwa-cli --help)")
while IFS= read -r m; do
  cuenta=$((cuenta + 1))
  grep -Fq -- "$m" <<<"$texto" || faltan+=("método $m")
done <<<"$metodos"

# Parameter fields: every CAMPO=VALOR of the -p entry.
bloque_p=$(awk '/^  -p, /{p=1} /^  -[a-zA-Z], |^      --/{if (!/^  -p, /) p=0} p' <<<"$ayuda")
campos=$(grep -oE '[A-Z]+[a-z][A-Za-z]*(\.[A-Z][A-Za-z]*)?=' <<<"$bloque_p" | tr -d '=' | sort -u)
[ -n "$campos" ] || faltan+=("(no se encuentran los campos de -p en fenwa-cli --help)")
for c in $campos; do
  cuenta=$((cuenta + 1))
  tiene "(^|[^A-Za-z.])${c//./\\.}([^A-Za-z]|\$)" || faltan+=("campo $c")
done

# Subcommands: the words after "fenwa-cli" in the usage lines; each has its own section
# (.SS) with the options and the models its --help lists.
for sub in $(sed -n '1,/^$/p' <<<"$ayuda" | grep -oE 'fenwa-cli [a-z][a-z-]*' | cut -d' ' -f2 | sort -u); do
  cuenta=$((cuenta + 1))
  grep -q "^\.SS $sub\$" "$pagina" || faltan+=("subcomando $sub (sección .SS $sub)")
  ayuda_sub=$("$cli" "$sub" --help)
  RevisarOpciones "$ayuda_sub" " de $sub"
  for modelo in $(awk '/^Modelos:/{m=1; next} /^$/{m=0} m' <<<"$ayuda_sub" | grep -oE '^  [a-z][a-z0-9-]*'); do
    cuenta=$((cuenta + 1))
    grep -q "^\.B $modelo\$" "$pagina" || faltan+=("modelo $modelo de $sub")
  done
done

if [ ${#faltan[@]} -gt 0 ]; then
  echo "La página man/$(basename "$pagina") no describe esto de fenwa-cli --help:" >&2
  printf '  %s\n' "${faltan[@]}" >&2
  echo "Añada su entrada en OPCIONES, MÉTODOS, PARÁMETROS o SUBCOMANDOS." >&2
  exit 1
fi
echo "fenwa-cli(1) describe las $cuenta entradas de las ayudas de fenwa-cli"
