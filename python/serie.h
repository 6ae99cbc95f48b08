// Series between Python and the library: a one-dimensional sequence of numbers seen as a
// Vector (a C-contiguous float64 array in place, anything else converted once), and the
// library's vectors handed to Python as numpy arrays that own them.
#pragma once

#include <cstdint>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "numeric/vector.h"

// The samples of a Python series. Refuses (ValueError in Spanish) what is not a
// one-dimensional sequence of real numbers, samples that are not finite, fewer than two
// samples and more than a series holds.
class SeriePython {
 public:
  explicit SeriePython(const pybind11::handle& serie);
  SeriePython(const SeriePython&) = delete;
  SeriePython& operator=(const SeriePython&) = delete;

  // The samples: those of the array itself when it was a C-contiguous float64 array,
  // otherwise those of its one conversion. Valid while this object lives.
  const Vector& Datos() const { return vista_.Vista(); }

 private:
  pybind11::array_t<double> arreglo_;  // keeps the samples alive
  VectorPrestado vista_;
};

// A numpy float64 array over the vector's elements, which it takes over (no copy).
pybind11::array_t<double> ArregloDe(Vector&& v);
pybind11::array_t<double> ArregloDe(std::vector<double>&& v);
// A numpy int64 array over the counts, which it takes over (no copy; counts stay far below
// 2^63).
pybind11::array_t<std::int64_t> ArregloDe(std::vector<std::uint64_t>&& v);
