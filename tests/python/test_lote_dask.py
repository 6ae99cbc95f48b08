"""examples/python/lote_dask.py on a LocalCluster of two workers: the CSV holds, for a
handful of small series and a capture, the values of fenwa-cli --json; a file that is
refused gives its row and the others go on."""

import csv
import os
import shutil
import subprocess
import sys

import pytest

from conftest import EJEMPLOS, FUENTE, json_cli

pytest.importorskip("dask.distributed")


def test_lote_en_un_localcluster_como_el_cli(tmp_path, series_pequenas):
    series = list(series_pequenas)
    captura = tmp_path / "bellcore.pcap"
    shutil.copy(EJEMPLOS / "bellcore_pAug89.pcap", captura)
    mala = tmp_path / "mala.sam"
    mala.write_text("1 2 tres\n")
    corta = tmp_path / "corta.sam"
    corta.write_text("1 2 3 4 5\n")  # read, but too short for the method: refused
    ficheros = [*map(str, series), str(captura), str(mala), str(corta)]
    salida = tmp_path / "tabla.csv"
    r = subprocess.run([sys.executable, str(FUENTE / "examples" / "python" / "lote_dask.py"), *ficheros,
                        "--metodo", "Whittle Local", "--intervalo", "10ms", "--trabajadores", "2",
                        "--hilos", "1", "-o", str(salida)], capture_output=True, text=True,
                       env=os.environ, timeout=180)
    assert r.returncode == 0, r.stderr
    with open(salida, newline="", encoding="utf-8") as f:
        filas = list(csv.DictReader(f))
    assert [f["fichero"] for f in filas] == ficheros
    assert list(filas[0]) == ["fichero", "metodo", "estado", "mensaje", "valor", "ic_inferior",
                              "ic_superior", "longitud"]

    esperados = json_cli([*series, corta], "Whittle Local")
    esperados.insert(len(series), json_cli([captura], "Whittle Local", opciones=["--intervalo", "10ms"])[0])
    for fila, esperado in zip(filas[:len(series) + 1] + [filas[-1]], esperados):
        assert fila["metodo"] == "Whittle Local"
        assert int(fila["estado"]) == esperado["estado"]
        assert fila["mensaje"] == (esperado["mensaje"] or "")
        assert int(fila["longitud"]) == esperado["longitud"]
        if esperado["estado"] == 0:
            assert float(fila["valor"]) == esperado["valor"]
            assert [float(fila["ic_inferior"]), float(fila["ic_superior"])] == esperado["ic"]
    assert esperados[-1]["estado"] != 0
    leida = filas[-2]
    assert leida["estado"] == "" and "no tiene el formato adecuado" in leida["mensaje"]
    # The table as a pandas user reads it: the same numbers, every digit.
    pandas = pytest.importorskip("pandas")
    tabla = pandas.read_csv(salida, float_precision="round_trip")
    assert tabla["valor"].tolist()[:len(series)] == [float(f["valor"]) for f in filas[:len(series)]]
