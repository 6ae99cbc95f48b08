#!/usr/bin/python3
"""The Python module's speed, as ratios of one run:

1. fenwa.estimar on 10^6 and 10^7 samples against the same estimate in C++: fenwa-cli's
   time on the .npy file minus its load (the same run with -m Ninguno --sin-media
   --sin-varianza: the process start and the read of the file);
2. the overhead of a call on a 1000-sample series (-m Ninguno without statistics), on the
   main thread (SIGINT's handler swapped for the call's, so that Ctrl-C cancels it) and
   on another thread, beside a call that does nothing (fenwa.metodos);
3. four analyses one after another and in two Python threads (the GIL is released);
4. examples/python/lote_dask.py's work (procesar) on 16 series of 10^6 samples with a
   LocalCluster of 1 and 2 workers, beside the same 16 analyses one after another in this
   process (the floor: no scheduling, no other process).

Each time is the best of a few runs. The machine may be shared with other work: the
ratios of one run are what to compare, not the times.

    PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py [--cli build/bin/fenwa-cli]
"""

import argparse
import concurrent.futures
import os
import pathlib
import subprocess
import sys
import tempfile
import threading
import time

import numpy as np

import fenwa

RAIZ = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(RAIZ / "examples" / "python"))

METODOS = ["Varianza", "DFA", "Whittle Local", "Whittle Estándar"]


def mejor(funcion, veces=3):
    tiempos = []
    for _ in range(veces):
        inicio = time.perf_counter()
        funcion()
        tiempos.append(time.perf_counter() - inicio)
    return min(tiempos)


def tiempo_cli(cli, *argumentos, veces=3):
    return mejor(lambda: subprocess.run([cli, *argumentos], stdout=subprocess.DEVNULL, check=True), veces)


def frente_al_cli(cli, carpeta):
    print("1. fenwa.estimar frente a fenwa-cli (su tiempo menos su carga)")
    print(f"   {'muestras':>9} {'método':<18} {'cli s':>8} {'carga s':>8} {'C++ s':>8} {'Python s':>9} {'Python/C++':>10}")
    for n in (10**6, 10**7):
        x = fenwa.generar("fgn", H=0.8, n=n, semilla=7)
        fichero = carpeta / f"fgn_{n}.npy"
        np.save(fichero, x)
        carga = tiempo_cli(cli, "-m", "Ninguno", "--sin-media", "--sin-varianza", "--json", fichero)
        for metodo in METODOS:
            if n == 10**7 and metodo == "Whittle Estándar":
                continue  # tens of seconds a run on two cores; 10^6 says the same
            veces = 2 if n == 10**7 else 3
            total = tiempo_cli(cli, "-m", metodo, "--json", fichero, veces=veces)
            python = mejor(lambda: fenwa.estimar(x, metodo), veces)
            cpp = total - carga
            print(f"   {n:>9} {metodo:<18} {total:8.3f} {carga:8.3f} {cpp:8.3f} {python:9.3f} {python / cpp:10.3f}")


def sobrecarga():
    print("2. Sobrecarga de una llamada (serie de 1000 muestras, -m Ninguno sin estadísticos)")
    x = np.random.default_rng(1).standard_normal(1000)
    veces = 3000

    def por_llamada(funcion):
        return mejor(lambda: [funcion() for _ in range(veces)], 5) / veces * 1e6

    vacia = por_llamada(fenwa.metodos)
    principal = por_llamada(lambda: fenwa.estimar(x, "Ninguno", media=False, varianza=False))
    con_estadisticos = por_llamada(lambda: fenwa.estimar(x, "Ninguno"))
    resultado = {}
    otro = threading.Thread(target=lambda: resultado.setdefault(
        "us", por_llamada(lambda: fenwa.estimar(x, "Ninguno", media=False, varianza=False))))
    otro.start()
    otro.join()
    print(f"   fenwa.metodos() (una llamada que no calcula)      {vacia:8.1f} µs")
    print(f"   estimar en el hilo principal (Ctrl-C por señal)   {principal:8.1f} µs")
    print(f"   estimar en otro hilo (calcula en su sitio)        {resultado['us']:8.1f} µs")
    print(f"   estimar con media y varianza, hilo principal      {con_estadisticos:8.1f} µs")
    print(f"   objetivo: < 50 µs; hilo principal / llamada vacía {principal / vacia:8.1f}")


def hilos_de_python():
    print("3. Cuatro análisis de 10^6 muestras (Whittle Local, hilos=1): uno tras otro y en dos hilos de Python")
    series = [fenwa.generar("fgn", H=0.75, n=10**6, semilla=s) for s in range(4)]

    def analizar(x):
        return fenwa.estimar(x, "Whittle Local", hilos=1)["valor"]

    uno = mejor(lambda: [analizar(x) for x in series], 2)
    with concurrent.futures.ThreadPoolExecutor(2) as grupo:
        dos = mejor(lambda: list(grupo.map(analizar, series)), 2)
    print(f"   un hilo  {uno:7.2f} s   1.00")
    print(f"   dos      {dos:7.2f} s {dos / uno:6.2f}")


def dask(carpeta):
    from dask.distributed import Client, LocalCluster

    import lote_dask

    print("4. lote_dask.py (procesar) sobre 16 series de 10^6 muestras, método Whittle Local")
    ficheros = []
    for i in range(16):
        fichero = carpeta / f"serie_{i:02d}.npy"
        np.save(fichero, fenwa.generar("fgn", H=0.7 + 0.01 * i, n=10**6, semilla=i))
        ficheros.append(str(fichero))

    def secuencial():
        for f in ficheros:
            fenwa.estimar(fenwa.leer(f), "Whittle Local")

    base = mejor(secuencial, 2)
    print(f"   uno tras otro en este proceso (suelo)          {base:7.2f} s   1.00")
    for trabajadores, hilos in ((1, None), (2, None), (2, 1)):
        with LocalCluster(n_workers=trabajadores, threads_per_worker=1, processes=True,
                          dashboard_address=None) as cluster, Client(cluster) as cliente:
            lote_dask.procesar(cliente, ficheros[:2], "Whittle Local", hilos=hilos)  # workers warm
            t = mejor(lambda: lote_dask.procesar(cliente, ficheros, "Whittle Local", hilos=hilos), 2)
        texto = f"{trabajadores} trabajador{'es' if trabajadores > 1 else ''}, hilos={hilos or 'núcleos'}"
        print(f"   {texto:<46} {t:7.2f} s {t / base:6.2f}")


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--cli", default=str(RAIZ / "build" / "bin" / "fenwa-cli"))
    a = p.parse_args()
    print(f"fenwa {fenwa.__version__}, {os.cpu_count()} núcleos; máquina quizá compartida: "
          "compárense las razones de esta ejecución")
    with tempfile.TemporaryDirectory(prefix="bench_python.") as carpeta:
        carpeta = pathlib.Path(carpeta)
        frente_al_cli(a.cli, carpeta)
        sobrecarga()
        hilos_de_python()
        dask(carpeta)


if __name__ == "__main__":
    main()
