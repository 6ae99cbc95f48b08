#include "python/serie.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace py = pybind11;

namespace {

// Samples from which the finiteness check runs without the GIL.
constexpr std::size_t kMuestrasSinGil = 1u << 16;

std::string Entero(std::uint64_t n) {
  char buf[24];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, n).ptr);
}

// The series as a C-contiguous float64 array: the array itself when it is one already.
py::array_t<double> ComoArreglo(const py::handle& serie) {
  py::module_ numpy = py::module_::import("numpy");
  py::array a;
  try {
    a = numpy.attr("asarray")(serie);
  } catch (py::error_already_set&) {
    throw py::value_error("la serie debe ser una sucesión de números reales");
  }
  const char tipo = a.dtype().kind();
  if (a.ndim() != 1)
    throw py::value_error("la serie debe ser unidimensional (una sucesión de números) y tiene " +
                          Entero(static_cast<std::uint64_t>(a.ndim())) + " dimensiones");
  if (tipo != 'f' && tipo != 'i' && tipo != 'u' && tipo != 'O') {
    const std::string de = tipo == 'U' || tipo == 'S' ? "textos"
                           : tipo == 'c'              ? "números complejos"
                           : tipo == 'b'              ? "valores lógicos"
                           : tipo == 'M' || tipo == 'm'
                               ? "fechas u horas"
                               : "elementos de tipo " + py::str(a.dtype()).cast<std::string>();
    throw py::value_error("la serie debe ser una sucesión de números reales, no de " + de);
  }
  if (tipo == 'O') {
    // Objects one by one: None, texts and booleans are not samples.
    py::ssize_t i = 0;
    for (const py::handle& x : a) {
      PyObject* p = x.ptr();
      if (PyBool_Check(p) || PyUnicode_Check(p) || PyBytes_Check(p) || PyComplex_Check(p) ||
          !(PyFloat_Check(p) || PyLong_Check(p) || py::hasattr(x, "__float__")))
        throw py::value_error("el elemento de índice " + Entero(static_cast<std::uint64_t>(i)) +
                              " de la serie no es un número: " + py::repr(x).cast<std::string>());
      ++i;
    }
  }
  // Native float64, C-contiguous and aligned: the samples are read where they are.
  constexpr int kEnSuSitio = py::detail::npy_api::NPY_ARRAY_C_CONTIGUOUS_ |
                             py::detail::npy_api::NPY_ARRAY_ALIGNED_;
  if ((a.flags() & kEnSuSitio) == kEnSuSitio && a.dtype().equal(py::dtype::of<double>()))
    return py::reinterpret_borrow<py::array_t<double>>(a);
  try {
    // Objects are converted each by float(), which refuses None and texts.
    if (tipo == 'O') return a.attr("astype")(py::dtype::of<double>());
    return numpy.attr("ascontiguousarray")(a, py::dtype::of<double>());
  } catch (py::error_already_set&) {
    throw py::value_error("la serie tiene elementos que no son números reales");
  }
}

// Checks the samples of the array; returns their number.
std::uint32_t Comprobar(const py::array_t<double>& a) {
  const std::uint64_t n = static_cast<std::uint64_t>(a.shape(0));
  if (n < 2)
    throw py::value_error("la serie debe tener al menos dos muestras y tiene " + Entero(n));
  if (n > std::numeric_limits<std::uint32_t>::max())
    throw py::value_error("la serie tiene más muestras (" + Entero(n) +
                          ") de las que cabe analizar (4.294.967.295)");
  const double* x = a.data();
  // The first sample that is not finite, or n.
  const auto primeraNoFinita = [x, n] {
    std::uint64_t i = 0;
    // Blocks of 1024 samples are tested as a whole first (x − x is 0 only for finite x).
    for (; i + 1024 <= n; i += 1024) {
      double s = 0.0;
      for (std::uint64_t k = i; k < i + 1024; ++k) s += x[k] - x[k];
      if (s != 0.0 || std::isnan(s)) break;
    }
    while (i < n && std::isfinite(x[i])) ++i;
    return i;
  };
  std::uint64_t mala;
  if (n >= kMuestrasSinGil) {
    py::gil_scoped_release sinGil;
    mala = primeraNoFinita();
  } else {
    mala = primeraNoFinita();
  }
  if (mala < n)
    throw py::value_error("la muestra de índice " + Entero(mala) + " de la serie no es un número finito (" +
                          py::repr(py::float_(x[mala])).cast<std::string>() + ")");
  return static_cast<std::uint32_t>(n);
}

template <class T>
py::capsule Dueno(T* objeto) {
  return py::capsule(objeto, [](void* p) { delete static_cast<T*>(p); });
}

}  // namespace

SeriePython::SeriePython(const py::handle& serie)
    : arreglo_(ComoArreglo(serie)), vista_(arreglo_.data(), Comprobar(arreglo_)) {}

py::array_t<double> ArregloDe(Vector&& v) {
  auto* propio = new Vector(std::move(v));
  py::capsule dueno = Dueno(propio);
  return py::array_t<double>({static_cast<py::ssize_t>(propio->Longitud())}, propio->Datos(), dueno);
}

py::array_t<double> ArregloDe(std::vector<double>&& v) {
  auto* propio = new std::vector<double>(std::move(v));
  py::capsule dueno = Dueno(propio);
  return py::array_t<double>({static_cast<py::ssize_t>(propio->size())}, propio->data(), dueno);
}

py::array_t<std::int64_t> ArregloDe(std::vector<std::uint64_t>&& v) {
  auto* propio = new std::vector<std::uint64_t>(std::move(v));
  py::capsule dueno = Dueno(propio);
  return py::array_t<std::int64_t>({static_cast<py::ssize_t>(propio->size())},
                                   reinterpret_cast<const std::int64_t*>(propio->data()), dueno);
}
