"""Computations off the GIL: Python threads at once give the results of one after another;
Ctrl-C stops a long estimate within a second; progreso= follows it."""

import concurrent.futures
import os
import subprocess
import sys
import textwrap

import pytest

import fenwa
from conftest import como_json

METODOS = ["Whittle Estándar", "DFA", "Ondículas", "Todos"]


@pytest.fixture(scope="module")
def series():
    return [fenwa.generar("fgn", H=h, n=30000, semilla=s) for s, h in enumerate((0.6, 0.75, 0.9))]


def test_hilos_de_python_a_la_vez_como_uno_tras_otro(series):
    trabajos = [(x, m) for x in series for m in METODOS]
    esperados = [como_json(fenwa.estimar(x, m)) for x, m in trabajos]
    with concurrent.futures.ThreadPoolExecutor(2) as grupo:
        obtenidos = list(grupo.map(lambda t: como_json(fenwa.estimar(*t)), trabajos))
    assert obtenidos == esperados


def test_progreso(series):
    fracciones = []
    r = fenwa.estimar(series[0], "Todos", progreso=fracciones.append)
    assert r["estado"] == 0 and fracciones[-1] == 1.0
    assert fracciones == sorted(fracciones) and 0.0 <= fracciones[0]

    def basta(fraccion):
        raise RuntimeError("basta")

    with pytest.raises(RuntimeError, match="basta"):
        fenwa.estimar(series[0], "Todos", progreso=basta)
    # The module goes on as before.
    assert como_json(fenwa.estimar(series[0], "DFA")) == como_json(fenwa.estimar(series[0], "DFA", hilos=1))


# A long estimate (Whittle with the exact density on 10^6 samples takes seconds) interrupted
# by SIGINT half a second after it starts, in a process of its own: with Python's handler
# (KeyboardInterrupt), and with one of the program's that raises its own exception.
CTRL_C = textwrap.dedent("""
    import os, signal, sys, threading, time
    import fenwa
    x = fenwa.generar("fgn", H=0.8, n=10**6)

    def propio(senal, marco):
        raise RuntimeError("propio")

    if sys.argv[1] == "propio":
        signal.signal(signal.SIGINT, propio)
    senal = []
    def interrumpir():
        senal.append(time.monotonic())
        os.kill(os.getpid(), signal.SIGINT)
    threading.Timer(0.5, interrumpir).start()
    inicio = time.monotonic()
    try:
        fenwa.estimar(x, "Whittle Estándar", RGDensidad=1)
        print("terminado", time.monotonic() - inicio)
    except (KeyboardInterrupt, RuntimeError) as e:
        print(type(e).__name__, time.monotonic() - senal[0])
    print(fenwa.estimar(x[:1000], "R/S")["estado"])
""")


@pytest.mark.parametrize("manejador,excepcion", [("python", "KeyboardInterrupt"), ("propio", "RuntimeError")])
def test_ctrl_c_interrumpe_en_menos_de_un_segundo(manejador, excepcion):
    r = subprocess.run([sys.executable, "-c", CTRL_C, manejador], capture_output=True, text=True,
                       env=os.environ, timeout=120)
    assert r.returncode == 0, r.stderr
    lineas = r.stdout.split()
    assert lineas[0] == excepcion, r.stdout
    assert float(lineas[1]) < 1.0
    assert lineas[2] == "0"
