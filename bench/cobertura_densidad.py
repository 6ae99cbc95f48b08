#!/usr/bin/python3
"""Bias and coverage of Whittle FGN with the truncated and the exact FGN density.

For each H, makes `series` exact FGN series of n samples with `fenwa-cli generar fgn`
(seeds 1, 2, ...), estimates H with both densities (RGDensidad=0 and 1) and prints, as a
Markdown table, the mean bias with its standard error and the coverage of the 95 % interval.
Usage: bench/cobertura_densidad.py [fenwa-cli] [n] [series]
"""
import json
import math
import os
import subprocess
import sys
import tempfile

cli = sys.argv[1] if len(sys.argv) > 1 else "build/bin/fenwa-cli"
n = int(sys.argv[2]) if len(sys.argv) > 2 else 1000000
series = int(sys.argv[3]) if len(sys.argv) > 3 else 20

print(f"Whittle Estándar (FGN), n = {n}, {series} series por valor de H\n")
print("| H | densidad | sesgo ± error típico | sesgo / error típico | cobertura del IC 95 % |")
print("|---|---|---|---|---|")
with tempfile.TemporaryDirectory() as carpeta:
    fichero = os.path.join(carpeta, "fgn.sam")
    for H in (0.6, 0.8, 0.9):
        valores = {0: [], 1: []}
        cubre = {0: 0, 1: 0}
        for semilla in range(1, series + 1):
            subprocess.run([cli, "generar", "fgn", "-H", str(H), "-n", str(n), "--semilla",
                            str(semilla), "-o", fichero], check=True)
            for densidad in (0, 1):
                salida = subprocess.run(
                    [cli, "-m", "Whittle Estándar", "-p", f"RGDensidad={densidad}", "--json",
                     fichero], check=True, capture_output=True, text=True).stdout
                r = json.loads(salida.splitlines()[0])
                valores[densidad].append(r["valor"] - H)
                cubre[densidad] += r["ic"][0] <= H <= r["ic"][1]
        for densidad, nombre in ((0, "truncada"), (1, "exacta")):
            v = valores[densidad]
            media = sum(v) / len(v)
            dt = math.sqrt(sum((x - media) ** 2 for x in v) / (len(v) - 1))
            et = dt / math.sqrt(len(v))
            print(f"| {H} | {nombre} | {media:+.5f} ± {et:.5f} | {media / et:+.1f} | "
                  f"{cubre[densidad]} de {len(v)} |")
