// Short vectors written out in the tests of the numerical library.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "numeric/vector.h"

// The vector (x1, ..., xn).
inline Vector V(std::initializer_list<double> xs) {
  Vector v(static_cast<std::uint32_t>(xs.size()));
  std::uint32_t i = 1;
  for (double x : xs) v[i++] = x;
  return v;
}
