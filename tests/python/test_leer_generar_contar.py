"""fenwa.leer, fenwa.generar and fenwa.contar give what fenwa-cli reads, writes and counts:
the generator's and the counts' .npy files keep every bit."""

import subprocess

import numpy as np
import pytest

import fenwa
from conftest import DATOS, EJEMPLOS, cli, ejecutar_cli

CAPTURA = EJEMPLOS / "bellcore_pAug89.pcap"
TRAZA = DATOS / "BC-pAug89-small.TL"

# model, keywords of generar, the same as options of fenwa-cli generar.
GENERADAS = [
    ("fgn", dict(H=0.8, n=1000, semilla=3), ["-H", "0.8", "-n", "1000", "--semilla", "3"]),
    ("fgn", dict(H="0,65", n="2.5e3"), ["-H", "0,65", "-n", "2.5e3"]),
    ("fgn", dict(), []),
    ("farima", dict(d=0.3, phi=0.5, theta=-0.2, n=2000, semilla=2**64 - 1),
     ["-d", "0.3", "--phi", "0.5", "--theta", "-0.2", "-n", "2000", "--semilla", str(2**64 - 1)]),
    ("farima", dict(d=-0.2, n=1500, media=3.5, desviacion=0.25),
     ["-d", "-0.2", "-n", "1500", "--media", "3.5", "--desviacion", "0.25"]),
    ("farima", dict(d=0.1, theta=12.5, n=1200), ["-d", "0.1", "--theta", "12.5", "-n", "1200"]),
    ("ruido", dict(n=np.int64(500), media=10, desviacion=2), ["-n", "500", "--media", "10", "--desviacion", "2"]),
]


@pytest.mark.parametrize("modelo,argumentos,opciones", GENERADAS)
def test_generar_como_el_cli(modelo, argumentos, opciones, tmp_path):
    fichero = tmp_path / "serie.npy"
    ejecutar_cli("generar", modelo, *opciones, "-o", fichero)
    esperada = np.load(fichero)
    serie = fenwa.generar(modelo, **argumentos)
    assert serie.dtype == np.float64 and serie.flags.c_contiguous
    assert np.array_equal(serie.view(np.int64), esperada.view(np.int64))


GENERADAS_MALAS = [
    (lambda: fenwa.generar("fgn", d=0.3), ValueError, ["d", "no se aplica", "fgn"]),
    (lambda: fenwa.generar("ruido", H=0.7), ValueError, ["H", "no se aplica"]),
    (lambda: fenwa.generar("fgn", H=1.5), ValueError, ["H"]),
    (lambda: fenwa.generar("fgn", n=1), ValueError, ["longitud"]),
    (lambda: fenwa.generar("fgn", H="x"), ValueError, ["'x'"]),
    (lambda: fenwa.generar("fgn", H=True), TypeError, ["H"]),
    (lambda: fenwa.generar("browniano"), ValueError, ["fgn, farima o ruido"]),
]


@pytest.mark.parametrize("llamada,excepcion,palabras", GENERADAS_MALAS)
def test_generar_rechaza(llamada, excepcion, palabras):
    with pytest.raises(excepcion) as error:
        llamada()
    for palabra in palabras:
        assert palabra in str(error.value)


def test_el_mensaje_del_generador_es_el_del_cli():
    r = subprocess.run([cli(), "generar", "fgn", "-H", "1.5", "-o", "-"], capture_output=True, text=True)
    assert r.returncode == 1 and r.stdout == ""
    with pytest.raises(ValueError) as error:
        fenwa.generar("fgn", H=1.5)
    assert r.stderr.splitlines()[0] == "fenwa-cli: " + str(error.value)


# fenwa.contar's arguments, and the same for fenwa-cli contar.
CUENTAS = [
    ([CAPTURA], dict(intervalo="10ms"), ["--intervalo", "10ms"]),
    ([CAPTURA], dict(intervalo=0.1, bytes=True), ["--intervalo", "0.1", "--bytes"]),
    ([CAPTURA], dict(intervalo="1s", filtro="len > 200"), ["--intervalo", "1s", "--filtro", "len > 200"]),
    ([TRAZA], dict(intervalo="10ms", formato="texto"), ["--intervalo", "10ms", "--formato", "texto"]),
]


@pytest.mark.parametrize("capturas,argumentos,opciones", CUENTAS)
def test_contar_como_el_cli(capturas, argumentos, opciones, tmp_path):
    for c in capturas:
        if not c.exists():
            pytest.skip(f"falta {c}")
    fichero = tmp_path / "cuentas.npy"
    ejecutar_cli("contar", *capturas, *opciones, "-o", fichero)
    esperadas = np.load(fichero)
    cuentas = fenwa.contar(capturas if len(capturas) > 1 else capturas[0], **argumentos)
    assert cuentas.dtype == np.int64 and len(cuentas) > 10
    assert np.array_equal(cuentas, esperadas)
    # The same files as a list, and as names of str.
    assert np.array_equal(fenwa.contar([str(c) for c in capturas], **argumentos), esperadas)


def test_contar_rechaza(tmp_path):
    with pytest.raises(ValueError) as error:
        fenwa.contar(EJEMPLOS / "NileMin.sam", "10ms")
    assert 'formato="texto"' in str(error.value)
    for argumentos, palabra in [(dict(intervalo="10 parsecs"), "10 parsecs"),
                                (dict(intervalo="10ms", formato="xml"), "xml"),
                                (dict(intervalo="10ms", filtro="tcp and and"), "filtro")]:
        with pytest.raises(ValueError) as error:
            fenwa.contar(CAPTURA, **argumentos)
        assert palabra in str(error.value)
    with pytest.raises(TypeError):
        fenwa.contar(CAPTURA, intervalo=None)


def test_leer(tmp_path):
    nile = fenwa.leer(EJEMPLOS / "NileMin.sam")
    assert nile.dtype == np.float64 and nile.shape == (663,)
    assert np.array_equal(nile, np.loadtxt(EJEMPLOS / "NileMin.sam"))
    fichero = tmp_path / "x.npy"
    ejecutar_cli("generar", "fgn", "-n", "300", "-o", fichero)
    assert np.array_equal(fenwa.leer(str(fichero)), np.load(fichero))
    np.save(tmp_path / "i.npy", np.arange(5, dtype=np.int32))
    assert fenwa.leer(tmp_path / "i.npy").tolist() == [0.0, 1.0, 2.0, 3.0, 4.0]
    assert fenwa.es_captura(CAPTURA) and not fenwa.es_captura(fichero)
    with pytest.raises(ValueError) as error:
        fenwa.leer(CAPTURA)
    assert "fenwa.contar" in str(error.value)
    with pytest.raises(OSError) as error:
        fenwa.leer(tmp_path / "no_existe.sam")
    assert "No puedo leer" in str(error.value)
    (tmp_path / "malo.sam").write_text("1.5\n2,5\n")
    with pytest.raises(ValueError) as error:
        fenwa.leer(tmp_path / "malo.sam")
    assert "no tiene el formato adecuado" in str(error.value) and "2,5" in str(error.value)
