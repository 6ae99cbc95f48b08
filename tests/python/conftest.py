"""Common ground of the Python module's tests: the built fenwa-cli, the reference series and
the comparison of the module's dicts with the JSON objects of fenwa-cli --json."""

import json
import math
import os
import pathlib
import subprocess

import numpy as np
import pytest

FUENTE = pathlib.Path(os.environ.get("FENWA_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
DATOS = pathlib.Path(os.environ.get("FENWA_DATA_DIR", FUENTE.parent / "shared" / "data"))
EJEMPLOS = FUENTE / "examples"


def cli():
    ruta = os.environ.get("FENWA_CLI")
    if not ruta:
        pytest.skip("FENWA_CLI no indica el fenwa-cli construido")
    return ruta


def ejecutar_cli(*argumentos, estados=(0,)):
    """Runs fenwa-cli; returns its standard output (bytes), failing on an unexpected exit."""
    r = subprocess.run([cli(), *map(str, argumentos)], capture_output=True)
    assert r.returncode in estados, (argumentos, r.returncode, r.stderr.decode())
    return r.stdout


def texto_cli(valor):
    """The text of fenwa-cli -p CAMPO=VALOR for a keyword value of fenwa.estimar."""
    if isinstance(valor, bool):
        return "1" if valor else "0"
    return str(valor)


def json_cli(ficheros, metodo, campos=None, opciones=()):
    """The JSON objects of fenwa-cli --json for the files, one per file, in order."""
    argumentos = ["-m", metodo, "--json", *opciones]
    for clave, valor in (campos or {}).items():
        argumentos += ["-p", f"{clave}={texto_cli(valor)}"]
    salida = ejecutar_cli(*argumentos, "--", *ficheros, estados=(0, 2))
    return [json.loads(linea) for linea in salida.decode().splitlines()]


def como_json(valor):
    """A value of the module's dicts as the JSON gives it: arrays as lists, non-finite
    numbers as None."""
    if isinstance(valor, np.ndarray):
        valor = valor.tolist()
    if isinstance(valor, float) and not math.isfinite(valor):
        return None
    if isinstance(valor, list):
        return [como_json(v) for v in valor]
    if isinstance(valor, dict):
        return {k: como_json(v) for k, v in valor.items()}
    return valor


@pytest.fixture(scope="session")
def series_pequenas():
    """Several real and synthetic series: (path, name)."""
    rutas = [EJEMPLOS / "NileMin.sam", EJEMPLOS / "videoVBR.sam", EJEMPLOS / "ethernetTraffic.sam",
             DATOS / "fgn" / "fgn_H0.8_n10000_s1.sam"]
    for r in rutas:
        if not r.exists():
            pytest.skip(f"falta la serie {r}")
    return rutas
