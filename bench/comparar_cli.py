#!/usr/bin/env python3
"""Compares the JSON output of two fenwa-cli builds, method by method, on several series.

For every method (with the parameter sets below) and every sample file, both programs run
with --json; every number of the two objects (valor, ic, coeficientes, x, y, media,
varianza) is compared by its relative difference, and the statuses and report texts must be
equal. The entries "Autocorrelación" also save the autocorrelation (100 lags, and all lags
on series up to 100,000 samples) and compare the two files. Prints the largest relative
difference per method and the cases that differ.

Usage: bench/comparar_cli.py ANTES DESPUES FICHERO... [--ignorar METODO:CAMPO ...]
                             [--metodo TEXTO ...]
  --metodo Whittle runs only the entries whose method's name contains that text (any of
  several given).
  --ignorar "Whittle Local:ic" leaves that field (and the report lines that show it) out,
  for a change made on purpose.
"""
import argparse
import json
import math
import os
import subprocess
import sys

METODOS = [
    ("Autocorrelación", ["-p", "EPuntos=100"]),
    ("Autocorrelación", ["-p", "ChLongitud=1", "-p", "RGSesgo=1"]),
    ("Periodograma", []),
    ("Periodograma", ["-p", "CBPorcentaje=1"]),
    ("R/S", []),
    ("Varianza", []),
    ("Varianza Difer.", []),
    ("T0 (IDC)", ["-p", "EInicial=0.01", "-p", "EFinal=10"]),
    ("Whittle Estándar", []),
    ("Whittle Estándar", ["-p", "RGDensidad=1"]),
    ("Whittle Estándar", ["-p", "RGModelo=1", "-p", "EOrdenp=0", "-p", "EOrdenq=0"]),
    ("Whittle Estándar", ["-p", "RGModelo=1", "-p", "EOrdenp=1", "-p", "EOrdenq=0"]),
    ("Whittle Estándar", ["-p", "RGModelo=1", "-p", "EOrdenp=0", "-p", "EOrdenq=1"]),
    ("Whittle Estándar", ["-p", "RGModelo=1", "-p", "EOrdenp=1", "-p", "EOrdenq=1"]),
    ("Whittle Agregado", []),
    ("Whittle Agregado", ["-p", "RGDensidad=1"]),
    ("Whittle Local", []),
    ("Whittle Local", ["-p", "CBFactor=16"]),
    ("Test T", []),
    ("Test T", ["-p", "Estacion.EBloques=4"]),
    ("DFA", []),
    ("GPH", []),
    ("Higuchi", []),
    ("Momentos Absolutos", []),
    ("Ondículas", []),
    ("Todos", []),
]


def nombre(metodo, parametros):
    return metodo + ("" if not parametros else " " + " ".join(parametros[1::2]))


ATC = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"comparar_cli_{os.getpid()}.atc")


def ejecutar(cli, metodo, parametros, fichero, entorno):
    orden = [cli, "--json"]
    if metodo == "Autocorrelación":
        orden += ["--autocorrelacion", "--atc", ATC]
    else:
        orden += ["-m", metodo]
    orden += parametros + [fichero]
    if os.path.exists(ATC):
        os.remove(ATC)
    r = subprocess.run(orden, capture_output=True, text=True, env=entorno)
    lineas = [l for l in r.stdout.splitlines() if l.strip()]
    if len(lineas) != 1:
        return {"salida": r.returncode, "error": r.stderr}
    objeto = json.loads(lineas[0])
    objeto["salida"] = r.returncode
    if os.path.exists(ATC):
        with open(ATC) as f:
            objeto["atc"] = [float(x) for x in f.read().split()]
        os.remove(ATC)
    return objeto


def diferencia(a, b):
    if a == b:
        return 0.0
    if a is None or b is None or isinstance(a, str) or isinstance(b, str):
        return math.inf
    if math.isnan(a) and math.isnan(b):
        return 0.0
    escala = max(abs(a), abs(b))
    return abs(a - b) / escala if escala > 0 else 0.0


def comparar(a, b, ignorados, ruta="", peor=None):
    """Largest relative difference between two JSON values; inf when their shapes differ."""
    peor = peor if peor is not None else [0.0, ""]
    if ruta in ignorados:
        return peor
    if isinstance(a, dict) and isinstance(b, dict):
        if set(a) != set(b):
            peor[:] = [math.inf, ruta + " (claves)"]
            return peor
        for k in a:
            comparar(a[k], b[k], ignorados, k if not ruta else ruta + "." + k, peor)
    elif isinstance(a, list) and isinstance(b, list):
        if len(a) != len(b):
            peor[:] = [math.inf, ruta + " (longitud)"]
            return peor
        for i, (x, y) in enumerate(zip(a, b)):
            comparar(x, y, ignorados, ruta, peor)
    elif isinstance(a, (int, float)) and isinstance(b, (int, float)) and not isinstance(a, bool):
        d = diferencia(float(a), float(b))
        if d > peor[0]:
            peor[:] = [d, ruta]
    elif a != b:
        peor[:] = [math.inf, ruta]
    return peor


def main():
    p = argparse.ArgumentParser()
    p.add_argument("antes")
    p.add_argument("despues")
    p.add_argument("ficheros", nargs="+")
    p.add_argument("--ignorar", action="append", default=[])
    p.add_argument("--hilos", default=None, help="FENWA_HILOS del programa nuevo")
    p.add_argument("--metodo", action="append", default=[],
                   help="solo los métodos cuyo nombre contiene este texto")
    args = p.parse_args()

    entorno = dict(os.environ)
    entorno_nuevo = dict(entorno)
    if args.hilos:
        entorno_nuevo["FENWA_HILOS"] = args.hilos

    resumen = {}
    malos = 0
    for metodo, parametros in METODOS:
        if args.metodo and not any(t in metodo for t in args.metodo):
            continue
        clave = nombre(metodo, parametros)
        ignorados = {c.split(":", 1)[1] for c in args.ignorar if c.split(":", 1)[0] == metodo}
        peor_metodo = [0.0, ""]
        for fichero in args.ficheros:
            if "ChLongitud=1" in parametros and os.path.getsize(fichero) > 2_000_000:
                continue
            a = ejecutar(args.antes, metodo, parametros, fichero, entorno)
            b = ejecutar(args.despues, metodo, parametros, fichero, entorno_nuevo)
            if ignorados:
                # The report lines carry the ignored fields too.
                for o in (a, b):
                    o.pop("informe", None)
            d = comparar(a, b, ignorados)
            if d[0] > peor_metodo[0]:
                peor_metodo = [d[0], d[1] + " en " + os.path.basename(fichero)]
            if d[0] > 1e-12:
                malos += 1
                print(f"DIFIERE {clave} {fichero}: {d[0]:.3g} en {d[1]}")
                if a.get("estado") != b.get("estado"):
                    print(f"   estados {a.get('estado')} / {b.get('estado')}: "
                          f"{a.get('mensaje')} / {b.get('mensaje')}")
        resumen[clave] = peor_metodo
    print(f"{'método':<48} {'mayor dif. rel.':>12}  dónde")
    for clave, (d, donde) in resumen.items():
        print(f"{clave:<48} {d:>12.3g}  {donde}")
    return 1 if malos else 0


if __name__ == "__main__":
    sys.exit(main())
