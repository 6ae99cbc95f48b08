// python/: the Python module fenwa (pybind11) over app/ and capturas/ (no Qt).
//
// What the fenwa module offers, over app/ and capturas/ as fenwa-cli: the method and field
// tables, the analysis of a series as a dict of the keys of fenwa-cli --json, the reader,
// the generator and the capture counts. modulo.cpp binds them with their documentation.
#pragma once

#include <cstdint>
#include <string>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

// Creates fenwa.Rechazo (a ValueError with .estado, .mensaje and .resultado) in the module.
void CrearRechazo(pybind11::module_& m);

pybind11::list Metodos();
pybind11::object Ejes(const std::string& metodo);
pybind11::dict Campos(const pybind11::object& metodo);
pybind11::dict Estimar(const pybind11::handle& serie, const std::string& metodo,
                       const std::string& nombre, bool media, bool varianza,
                       bool autocorrelacion, const pybind11::object& hilos,
                       const pybind11::object& progreso, const pybind11::kwargs& campos);
pybind11::array_t<double> Leer(const pybind11::object& fichero, const pybind11::object& hilos,
                               const pybind11::object& progreso);
bool EsCapturaDePaquetes(const pybind11::object& fichero);
pybind11::array_t<double> Generar(const std::string& modelo, const pybind11::object& H,
                                  const pybind11::object& d, const pybind11::object& phi,
                                  const pybind11::object& theta, const pybind11::object& n,
                                  const pybind11::object& media,
                                  const pybind11::object& desviacion,
                                  const pybind11::object& semilla, const pybind11::object& hilos,
                                  const pybind11::object& progreso);
pybind11::array_t<std::int64_t> Contar(const pybind11::object& capturas,
                                       const pybind11::object& intervalo, bool bytes,
                                       const pybind11::object& filtro,
                                       const pybind11::object& formato,
                                       const pybind11::object& hilos,
                                       const pybind11::object& progreso);
