"""fenwa.estimar and the tables: the dicts are fenwa-cli's JSON objects for the same series
and fields, refusals carry the JSON's status, bad arguments are refused in Spanish."""

import inspect
import re

import numpy as np
import pytest

import fenwa
from conftest import DATOS, EJEMPLOS, como_json, ejecutar_cli, json_cli


def resultado(serie, metodo, **argumentos):
    """The dict of the analysis, also when it is refused (then from the Rechazo, checked
    against the status and message it carries)."""
    try:
        return fenwa.estimar(serie, metodo, **argumentos)
    except fenwa.Rechazo as error:
        assert error.estado != 0 and error.estado == error.resultado["estado"]
        assert str(error) == error.mensaje == error.resultado["mensaje"]
        return error.resultado


@pytest.mark.parametrize("metodo", fenwa.metodos() + ["Todos"])
def test_cada_metodo_da_el_json_del_cli(metodo, series_pequenas):
    esperados = json_cli(series_pequenas, metodo)
    for ruta, esperado in zip(series_pequenas, esperados):
        serie = fenwa.leer(ruta)
        obtenido = resultado(serie, metodo, nombre=ruta.stem)
        assert isinstance(obtenido["x"], (np.ndarray, type(None)))
        assert como_json(obtenido) == esperado, ruta.name
        # The defaults of campos() given back explicitly change nothing.
        explicito = resultado(serie, metodo, nombre=ruta.stem, **fenwa.campos(metodo))
        assert como_json(explicito) == esperado, ruta.name


NILE = EJEMPLOS / "NileMin.sam"
ETHERNET = EJEMPLOS / "ethernetTraffic.sam"
PAQUETES = DATOS / "bc_paug89_packets_10ms.sam"
FGN = DATOS / "fgn" / "fgn_H0.7_n10000_s2.sam"

# method, fields, series file, estimar's options and the same for fenwa-cli.
CASOS = [
    ("R/S", {"EBloques": 10, "EDecadaRS": 8}, NILE, {}, []),
    ("Varianza", {"ChLineal": True, "EMinVar": 10}, ETHERNET, {}, []),
    ("Whittle Estándar", {"RGModelo": 1, "EOrdenp": 1, "EOrdenq": 1}, NILE, {}, []),
    ("Whittle Estándar", {"RGDensidad": 1}, FGN, {"media": False}, ["--sin-media"]),
    ("Periodograma", {"CBPorcentaje": 5}, FGN, {}, []),
    ("GPH", {"EExponenteGPH": 0.6}, FGN, {}, []),
    ("T0 (IDC)", {"EInicial": 0.01, "EFinal": 10}, PAQUETES, {}, []),
    ("Test T", {"Estacion.EBloques": 5, "ESigni": "0,05"}, ETHERNET, {}, []),
    ("Todos", {"RGModelo": 1}, NILE, {"varianza": False}, ["--sin-varianza"]),
    ("Ninguno", {"EPuntos": 20, "RGSesgo": 1}, NILE, {"autocorrelacion": True},
     ["--autocorrelacion"]),
    # Refused: an integer field that is no integer, a parameter out of range.
    ("R/S", {"EBloques": "abc"}, NILE, {}, []),
    ("R/S", {"EMind": 1}, NILE, {}, []),
    ("Ninguno", {"EPuntos": 100000}, NILE, {"autocorrelacion": True}, ["--autocorrelacion"]),
]


@pytest.mark.parametrize("metodo,campos,ruta,opciones,opciones_cli", CASOS)
def test_campos_y_opciones_como_en_el_cli(metodo, campos, ruta, opciones, opciones_cli):
    if not ruta.exists():
        pytest.skip(f"falta {ruta}")
    [esperado] = json_cli([ruta], metodo, campos, opciones_cli)
    obtenido = resultado(fenwa.leer(ruta), metodo, nombre=ruta.stem, **campos, **opciones)
    autocorrelacion = obtenido.pop("autocorrelacion", None)
    if opciones.get("autocorrelacion") and esperado["estado"] == 0:
        assert autocorrelacion.shape == (campos["EPuntos"],)
    assert como_json(obtenido) == esperado


def test_la_tabla_del_cli():
    """metodos() and campos() are the lists and defaults that fenwa-cli --help shows."""
    ayuda = ejecutar_cli("--help").decode()
    pares = dict(re.findall(r"(?<![\w.])([A-Z][\w.]*)=(\S+)", ayuda.split("Campos, con su valor")[1].split("--media")[0]))
    todos = fenwa.campos()
    assert list(todos) == list(pares)
    for clave, valor in todos.items():
        texto = pares[clave]
        assert (valor == (texto == "1")) if isinstance(valor, bool) else valor == type(valor)(texto), clave
    for metodo in fenwa.metodos():
        assert metodo in ayuda
        assert set(fenwa.campos(metodo)) <= set(todos)
    assert fenwa.campos("R/S") == {"EMind": 10, "EMinRS": 4, "EBloques": 8, "EDecadaRS": 6}
    assert "EMind" in fenwa.campos("Todos") and "ESigni" not in fenwa.campos("Todos")


X = np.linspace(1.0, 2.0, 100)

# Bad arguments: what is called, the exception and words its message must hold.
ARGUMENTOS_MALOS = [
    (lambda: fenwa.estimar(X, "RS"), ValueError, ["desconocido", "R/S", "Todos"]),
    (lambda: fenwa.campos("RS"), ValueError, ["desconocido", "Whittle Local"]),
    (lambda: fenwa.estimar(X, "R/S", EMinm=3), ValueError, ["EMinm", "EMind", "EBloques"]),
    (lambda: fenwa.estimar(X, "R/S", Nada=3), ValueError, ["Nada", "EMind"]),
    (lambda: fenwa.estimar(X, "Varianza", ChLineal=2), ValueError, ["ChLineal", "0 o 1"]),
    (lambda: fenwa.estimar(X, "R/S", EMind=[1]), TypeError, ["EMind"]),
    (lambda: fenwa.estimar(X, "R/S", hilos=0), ValueError, ["hilos", "256"]),
    (lambda: fenwa.estimar(X, "R/S", hilos=True), ValueError, ["hilos"]),
    (lambda: fenwa.estimar(X, "R/S", progreso=3), TypeError, ["progreso"]),
    # Series that are no series.
    (lambda: fenwa.estimar([1.0, float("nan"), 2.0], "R/S"), ValueError, ["índice 1", "finito", "nan"]),
    (lambda: fenwa.estimar(np.r_[X, np.inf], "R/S"), ValueError, ["índice 100", "inf"]),
    (lambda: fenwa.estimar(np.ones((10, 2)), "R/S"), ValueError, ["unidimensional", "2 dimensiones"]),
    (lambda: fenwa.estimar([[1, 2], [3, 4]], "R/S"), ValueError, ["unidimensional"]),
    (lambda: fenwa.estimar(3.0, "R/S"), ValueError, ["unidimensional", "0 dimensiones"]),
    (lambda: fenwa.estimar(["1", "2"], "R/S"), ValueError, ["números reales", "textos"]),
    (lambda: fenwa.estimar([1, None, 2], "R/S"), ValueError, ["índice 1", "None"]),
    (lambda: fenwa.estimar([1, 2j], "R/S"), ValueError, ["complejos"]),
    (lambda: fenwa.estimar([True, False], "R/S"), ValueError, ["lógicos"]),
    (lambda: fenwa.estimar([1.0], "R/S"), ValueError, ["dos muestras"]),
    (lambda: fenwa.estimar([], "R/S"), ValueError, ["dos muestras"]),
]


@pytest.mark.parametrize("llamada,excepcion,palabras", ARGUMENTOS_MALOS)
def test_argumentos_malos(llamada, excepcion, palabras):
    with pytest.raises(excepcion) as error:
        llamada()
    assert not isinstance(error.value, fenwa.Rechazo)
    for palabra in palabras:
        assert palabra in str(error.value)


def test_cualquier_sucesion_de_numeros_da_lo_mismo():
    serie = np.round(np.sin(np.arange(500) * 0.3) * 100)
    esperado = como_json(fenwa.estimar(serie, "Higuchi"))
    for otra in (serie.tolist(), tuple(serie), serie.astype(np.int32), serie.astype(">f8"),
                 np.repeat(serie, 2)[::2], serie.astype(object)):
        assert como_json(fenwa.estimar(otra, "Higuchi")) == esperado


def test_nada_en_pantalla(capfd, tmp_path):
    fenwa.estimar(X, "Todos")
    with pytest.raises(fenwa.Rechazo):
        fenwa.estimar(X, "R/S", EMind=1)
    fenwa.leer(NILE)
    with pytest.raises(ValueError):
        fenwa.leer(EJEMPLOS / "bellcore_pAug89.pcap")
    fenwa.generar("fgn", n=100)
    fenwa.contar(EJEMPLOS / "bellcore_pAug89.pcap", "10ms")
    assert capfd.readouterr() == ("", "")


def test_documentacion_en_espanol():
    """help() shows each function's signature, with its keywords, and its text."""
    for nombre in ("metodos", "campos", "ejes", "estimar", "leer", "generar", "contar", "es_captura"):
        funcion = getattr(fenwa, nombre)
        assert " de " in funcion.__doc__ and not funcion.__doc__.startswith(nombre), nombre
        assert inspect.signature(funcion), nombre
    parametros = inspect.signature(fenwa.estimar).parameters
    assert parametros["nombre"].default == "serie" and parametros["campos"].kind == parametros["campos"].VAR_KEYWORD
    assert "diccionario" in fenwa.Rechazo.__doc__ and issubclass(fenwa.Rechazo, ValueError)
