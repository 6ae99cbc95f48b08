"""cmake --install puts the module where python3 finds it under the prefix; it imports from
the install tree, away from the build tree, and works."""

import os
import pathlib
import subprocess
import sys

import pytest


def test_el_modulo_instalado_se_importa(tmp_path):
    cmake, construccion, destino = (os.environ.get(v) for v in
                                    ("CMAKE_COMMAND", "FENWA_BUILD_DIR", "FENWA_PYTHON_DESTINO"))
    if not (cmake and construccion and destino):
        pytest.skip("faltan CMAKE_COMMAND, FENWA_BUILD_DIR o FENWA_PYTHON_DESTINO")
    prefijo = tmp_path / "prefijo"
    subprocess.run([cmake, "--install", construccion, "--component", "python", "--prefix", str(prefijo)],
                   check=True, capture_output=True)
    carpeta = prefijo / destino
    modulos = list(carpeta.glob("fenwa.cpython-*.so"))
    assert len(modulos) == 1, list(prefijo.rglob("*"))
    entorno = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    entorno["PYTHONPATH"] = str(carpeta)
    r = subprocess.run([sys.executable, "-c",
                        "import fenwa; print(fenwa.__file__); "
                        "print(fenwa.estimar(fenwa.generar('fgn', n=2000), 'Whittle Local')['estado'])"],
                       cwd=tmp_path, env=entorno, capture_output=True, text=True)
    assert r.returncode == 0, r.stderr
    ruta, estado = r.stdout.split()
    assert pathlib.Path(ruta).parent == carpeta and estado == "0"
