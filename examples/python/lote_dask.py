#!/usr/bin/python3
"""Muchas trazas en un clúster de Dask: cada fichero es una tarea de dask.distributed, que lo
lee (o cuenta la captura) y lo analiza con fenwa en el trabajador; el resultado es una tabla
CSV con una fila por fichero.

    lote_dask.py CAPTURAS_O_SERIES... --metodo M [--intervalo W] [--planificador DIRECCION]
                 [--trabajadores N] [--hilos N] [-p CAMPO=VALOR]... -o tabla.csv

Sin --planificador, el clúster es un LocalCluster de N procesos (por omisión, tantos como
núcleos) en esta máquina; con --planificador tcp://maquina:8786, el del planificador que
escucha en esa dirección (dask scheduler), con los trabajadores que se le hayan unido (dask
worker tcp://maquina:8786), en cualquier número de máquinas. Las tareas envían nombres de
ficheros, nunca arrays: cada trabajador debe ver los ficheros en la misma ruta (una carpeta
compartida) y tener instalado el módulo fenwa.

Con --intervalo W, las capturas de paquetes (pcap o pcapng, también comprimidas) se cuentan
por intervalos de anchura W, como fenwa-cli contar; los demás ficheros son series. Un
fichero rechazado (que no puede leerse, que no es una serie, cuyo análisis se rechaza) da su
fila con su estado y su mensaje y no detiene a los demás.

Columnas: fichero, metodo, estado (el código de fenwa-cli --json; vacío si el fichero no
pudo leerse), mensaje, valor, ic_inferior, ic_superior (el intervalo de confianza del 95 %
de H, si el método lo da) y longitud (muestras de la serie). Los números llevan todas sus
cifras. Con --metodo Todos, una fila por fichero y método.
"""

import argparse
import csv
import os
import sys
import tempfile
import time

COLUMNAS = ["fichero", "metodo", "estado", "mensaje", "valor", "ic_inferior", "ic_superior", "longitud"]


def _numero(x):
    return "" if x is None else repr(x)


def _fila(fichero, metodo, estado="", mensaje="", valor=None, ic=None, longitud=None):
    return {"fichero": fichero, "metodo": metodo, "estado": estado, "mensaje": mensaje or "",
            "valor": _numero(valor), "ic_inferior": _numero(ic[0] if ic else None),
            "ic_superior": _numero(ic[1] if ic else None),
            "longitud": "" if longitud is None else str(longitud)}


def analizar_fichero(fichero, metodo, intervalo=None, campos=None, hilos=None):
    """The task: reads (or counts) one file and analyses it on the worker. Returns the rows
    of the file."""
    import fenwa

    try:
        if intervalo is not None and fenwa.es_captura(fichero):
            serie = fenwa.contar(fichero, intervalo)
        else:
            serie = fenwa.leer(fichero, hilos=hilos)
    except (OSError, ValueError) as error:
        return [_fila(fichero, metodo, mensaje=str(error))]
    try:
        r = fenwa.estimar(serie, metodo, hilos=hilos, **(campos or {}))
    except fenwa.Rechazo as rechazo:
        r = rechazo.resultado
    except ValueError as error:  # an unknown field or a bad value of one
        return [_fila(fichero, metodo, mensaje=str(error), longitud=len(serie))]
    if metodo == "Todos":
        return [_fila(fichero, m["metodo"], m["estado"], m["mensaje"], m["valor"], m["ic"], r["longitud"])
                for m in r["metodos"]]
    return [_fila(fichero, metodo, r["estado"], r["mensaje"], r["valor"], r["ic"], r["longitud"])]


def procesar(cliente, ficheros, metodo, intervalo=None, campos=None, hilos=None):
    """Sends one task per file to the cluster of `cliente`; returns the rows in the order of
    the files."""
    tareas = cliente.map(analizar_fichero, ficheros, metodo=metodo, intervalo=intervalo,
                         campos=campos, hilos=hilos, pure=False)
    filas = []
    for fichero, tarea in zip(ficheros, tareas):
        try:
            filas.extend(tarea.result())
        except Exception as error:  # a worker lost, a module missing on it
            filas.append(_fila(fichero, metodo, mensaje=f"la tarea falló: {error}"))
    return filas


def escribir_csv(filas, salida):
    """Writes the table whole or not at all: a temporary file beside it, renamed at the end."""
    carpeta = os.path.dirname(os.path.abspath(salida))
    descriptor, temporal = tempfile.mkstemp(prefix=".lote_dask.", suffix=".csv", dir=carpeta)
    try:
        with os.fdopen(descriptor, "w", newline="", encoding="utf-8") as f:
            escritor = csv.DictWriter(f, fieldnames=COLUMNAS)
            escritor.writeheader()
            escritor.writerows(filas)
        mascara = os.umask(0)
        os.umask(mascara)
        os.chmod(temporal, 0o666 & ~mascara)  # as a file created by open()
        os.replace(temporal, salida)
    except BaseException:
        os.unlink(temporal)
        raise


def _campo(texto):
    clave, igual, valor = texto.partition("=")
    if not igual:
        raise argparse.ArgumentTypeError(f"se esperaba CAMPO=VALOR y no '{texto}'")
    return clave, valor


def main(argv=None):
    p = argparse.ArgumentParser(description="Analiza muchas trazas con fenwa en un clúster de Dask.")
    p.add_argument("ficheros", nargs="+", metavar="CAPTURAS_O_SERIES")
    p.add_argument("--metodo", "-m", required=True, help="método de fenwa.metodos(), o Todos")
    p.add_argument("--intervalo", help="anchura de los intervalos de las capturas (10ms, 1s...)")
    p.add_argument("--planificador", metavar="DIRECCION",
                   help="dirección del planificador de Dask (tcp://maquina:8786); sin ella, un LocalCluster")
    p.add_argument("--trabajadores", type=int, help="procesos del LocalCluster (por omisión, los núcleos)")
    p.add_argument("--hilos", type=int, help="hilos de cálculo de cada análisis (por omisión, los núcleos)")
    p.add_argument("-p", "--param", type=_campo, action="append", default=[], metavar="CAMPO=VALOR",
                   help="valor de un campo de parámetros, como en fenwa-cli -p")
    p.add_argument("-o", "--salida", required=True, help="tabla CSV que se escribe")
    a = p.parse_args(argv)

    from dask.distributed import Client, LocalCluster

    inicio = time.monotonic()
    if a.planificador:
        cliente, cluster = Client(a.planificador), None
    else:
        cluster = LocalCluster(n_workers=a.trabajadores or os.cpu_count(), threads_per_worker=1,
                               processes=True, dashboard_address=None)
        cliente = Client(cluster)
    try:
        filas = procesar(cliente, a.ficheros, a.metodo, a.intervalo, dict(a.param), a.hilos)
    finally:
        cliente.close()
        if cluster is not None:
            cluster.close()
    escribir_csv(filas, a.salida)
    rechazados = sum(1 for f in filas if f["estado"] != 0)
    print(f"lote_dask: {len(a.ficheros)} ficheros, {len(filas)} filas en {a.salida} "
          f"({rechazados} rechazadas), {time.monotonic() - inicio:.1f} s", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
