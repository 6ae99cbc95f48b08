#!/usr/bin/python3
"""Lo que haría un cuaderno: carga una serie real, la analiza con cada método de FENWA y
dibuja con matplotlib, en un PNG, la gráfica log-log de un método con su recta de ajuste
junto a la comparación de todos los métodos.

    cuaderno.py [SERIE] [--metodo M] [-o figura.png]

Por omisión, la serie de tráfico Ethernet de Bellcore (examples/ethernetTraffic.sam), el
método "Varianza" y la figura cuaderno.png.
"""

import argparse
import os
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")  # no display needed: the figure goes to a file
import matplotlib.pyplot as plt
import numpy as np

import fenwa

EJEMPLOS = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)


def figura(serie, nombre, metodo):
    """The figure: the method's log-log points with their least-squares line (the line the
    program draws for every method but Ondículas and GPH, which fit their own), and H with
    its 95 % interval by every method."""
    r = fenwa.estimar(serie, metodo, nombre=nombre)
    todos = fenwa.estimar(serie, "Todos", nombre=nombre)
    if r["x"] is None:
        raise SystemExit(f"cuaderno.py: el método {metodo} no dibuja puntos log-log")

    fig, (izquierda, derecha) = plt.subplots(1, 2, figsize=(11, 4.2), gridspec_kw={"width_ratios": [1, 1.3]})
    x, y = r["x"], r["y"]
    pendiente, ordenada = np.polyfit(x, y, 1)
    izquierda.plot(x, y, "o", ms=4, color="#1f5fa8", label="puntos del método")
    extremos = np.array([x.min(), x.max()])
    izquierda.plot(extremos, pendiente * extremos + ordenada, "-", color="#c0392b",
                   label=f"ajuste: pendiente {pendiente:.3f}")
    izquierda.set_title(f"{metodo}: H = {r['valor']:.3f}")
    titulo_x, titulo_y = fenwa.ejes(metodo)
    izquierda.set_xlabel(titulo_x)
    izquierda.set_ylabel(titulo_y)
    izquierda.legend(loc="best", fontsize=9)
    izquierda.grid(alpha=0.3)

    filas = [m for m in todos["metodos"] if m["valor"] is not None]
    posiciones = np.arange(len(filas))
    valores = np.array([m["valor"] for m in filas])
    for i, m in enumerate(filas):
        if m["ic"]:
            derecha.plot([i, i], m["ic"], "-", color="#7f8c8d", lw=2)
    derecha.plot(posiciones, valores, "s", color="#1f5fa8", ms=6)
    derecha.axhline(0.5, ls=":", color="black", lw=1)
    derecha.set_xticks(posiciones, [m["metodo"] for m in filas], rotation=45, ha="right", fontsize=8)
    derecha.set_ylabel("H (intervalo del 95 %)")
    derecha.set_title(f"{nombre}: H por cada método")
    derecha.grid(axis="y", alpha=0.3)
    fig.tight_layout()
    return fig


def main(argv=None):
    p = argparse.ArgumentParser(description="Gráfica log-log de un método y comparación de todos.")
    p.add_argument("serie", nargs="?", default=os.path.join(EJEMPLOS, "ethernetTraffic.sam"))
    p.add_argument("--metodo", "-m", default="Varianza")
    p.add_argument("-o", "--salida", default="cuaderno.png")
    a = p.parse_args(argv)
    nombre = os.path.splitext(os.path.basename(a.serie))[0]
    fig = figura(fenwa.leer(a.serie), nombre, a.metodo)
    # Whole or not at all: a temporary file beside the picture, renamed once written.
    descriptor, temporal = tempfile.mkstemp(prefix=".cuaderno.", suffix=".png",
                                            dir=os.path.dirname(os.path.abspath(a.salida)))
    try:
        with os.fdopen(descriptor, "wb") as f:
            fig.savefig(f, format="png", dpi=110)
        mascara = os.umask(0)
        os.umask(mascara)
        os.chmod(temporal, 0o666 & ~mascara)  # as a file created by open()
        os.replace(temporal, a.salida)
    except BaseException:
        os.unlink(temporal)
        raise
    print(f"cuaderno.py: {a.salida}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
