#!/usr/bin/env bash
# Time and peak resident memory of one or more fenwa-cli builds per method on one file.
#
# Each method runs with its dialog defaults (T0 (IDC) from 0.01 s to 10 s; FARIMA with
# p = q = 1), without mean and variance, JSON to /dev/null, under /usr/bin/time -v. The
# builds run in turn, method by method and repetition by repetition, so that a busy machine
# slows them alike; for each the run with the best wall time is kept, with its processor
# time (user + system, all threads) and the largest resident size of all runs. "carga" is
# the load alone (method Ninguno); "más allá" is the method's wall time minus the load's.
#
# Usage: bench/medir_cli.sh [-r REPETICIONES] [-m todos|objetivos|MÉTODO...] FICHERO FENWA_CLI...
#   Without -m: the load, the four frequency-domain methods of the targets and FARIMA;
#   -m objetivos: the load and the rows of the speed targets (DFA, Whittle FGN, FARIMA,
#   Test T, R/S, Higuchi, Todos).
#   Environment: FENWA_HILOS reaches the programs as it is.
set -euo pipefail

reps=3
declare -a elegidos=()
while getopts "r:m:" opcion; do
  case $opcion in
    r) reps=$OPTARG ;;
    m) elegidos+=("$OPTARG") ;;
    *) echo "uso: medir_cli.sh [-r N] [-m MÉTODO|todos|objetivos] FICHERO FENWA_CLI..." >&2; exit 1 ;;
  esac
done
shift $((OPTIND - 1))
fichero=${1:?falta el fichero}
shift
(( $# >= 1 )) || { echo "falta el programa" >&2; exit 1; }
programas=("$@")

muestras=$(wc -l < "$fichero")

declare -a nombres argumentos
metodo() { nombres+=("$1"); argumentos+=("$2"); }
metodo "carga" "-m Ninguno"
if [[ ${#elegidos[@]} -eq 1 && ${elegidos[0]} == "todos" ]]; then
  metodo "R/S" "-m R/S"
  metodo "Varianza" "-m Varianza"
  metodo "Varianza Difer." "-m Varianza?Difer."
  metodo "T0 (IDC)" "-m T0?(IDC) -p EInicial=0.01 -p EFinal=10"
  metodo "Periodograma" "-m Periodograma"
  metodo "Whittle FGN" "-m Whittle?Estándar"
  metodo "FARIMA(1,d,1)" "-m Whittle?Estándar -p RGModelo=1 -p EOrdenp=1 -p EOrdenq=1"
  metodo "Whittle Agregado" "-m Whittle?Agregado"
  metodo "Whittle Local" "-m Whittle?Local"
  metodo "Test T" "-m Test?T"
elif [[ ${#elegidos[@]} -eq 1 && ${elegidos[0]} == "objetivos" ]]; then
  metodo "DFA" "-m DFA"
  metodo "Whittle FGN" "-m Whittle?Estándar"
  metodo "FARIMA(1,d,1)" "-m Whittle?Estándar -p RGModelo=1 -p EOrdenp=1 -p EOrdenq=1"
  metodo "Test T" "-m Test?T"
  metodo "R/S" "-m R/S"
  metodo "Higuchi" "-m Higuchi"
  metodo "Todos" "-m Todos"
elif [[ ${#elegidos[@]} -gt 0 ]]; then
  for m in "${elegidos[@]}"; do metodo "$m" "-m ${m// /?}"; done
else
  metodo "Periodograma" "-m Periodograma"
  metodo "Whittle FGN" "-m Whittle?Estándar"
  metodo "Whittle Local" "-m Whittle?Local"
  metodo "Test T" "-m Test?T"
  metodo "FARIMA(1,d,1)" "-m Whittle?Estándar -p RGModelo=1 -p EOrdenp=1 -p EOrdenq=1"
fi

registro=$(mktemp)
trap 'rm -f "$registro"' EXIT

printf '%s: %s muestras, mejor de %s; FENWA_HILOS=%s\n' "$fichero" "$muestras" "$reps" \
  "${FENWA_HILOS:-(sin fijar)}"
printf '%-18s %-4s %9s %11s %9s %9s %10s\n' "método" "prog" "real s" "más allá s" "cpu s" \
  "RSS MB" "B/muestra"
declare -A carga
for i in "${!nombres[@]}"; do
  read -r -a args <<< "${argumentos[$i]}"
  args=("${args[@]//\?/ }")  # '?' stands for a blank inside one argument
  declare -A mejor=() cpu=() rss=() estado=()
  for ((r = 0; r < reps; r++)); do
    for p in "${!programas[@]}"; do
      s=0
      /usr/bin/time -v -o "$registro" "${programas[$p]}" "${args[@]}" --sin-media \
        --sin-varianza --json "$fichero" > /dev/null || s=$?
      read -r t c k < <(awk -F': ' '
        /Elapsed \(wall clock\)/ { n = split($2, q, ":"); w = 0; for (j = 1; j <= n; j++) w = w * 60 + q[j] }
        /User time/ { u = $2 } /System time/ { y = $2 } /Maximum resident set size/ { m = $2 }
        END { print w, u + y, m }' "$registro")
      if [[ -z "${mejor[$p]:-}" ]] || awk "BEGIN {exit !($t < ${mejor[$p]})}"; then
        mejor[$p]=$t
        cpu[$p]=$c
      fi
      (( k > ${rss[$p]:-0} )) && rss[$p]=$k
      estado[$p]=$s
    done
  done
  for p in "${!programas[@]}"; do
    [[ $i -eq 0 ]] && carga[$p]=${mejor[$p]}
    awk -v n="${nombres[$i]}" -v p="$((p + 1))" -v t="${mejor[$p]}" -v c="${carga[$p]}" \
      -v u="${cpu[$p]}" -v k="${rss[$p]}" -v m="$muestras" -v i="$i" -v s="${estado[$p]}" \
      'BEGIN { printf "%-18s %-4s %9.2f %11s %9.2f %9.0f %10.1f%s\n", n, p, t,
               (i == 0 ? "-" : sprintf("%.2f", t - c)), u, k / 1024, k * 1024 / m,
               (s == 0 ? "" : "  (salida " s ")") }'
  done
  unset mejor cpu rss estado
done
