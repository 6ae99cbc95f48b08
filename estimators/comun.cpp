#include "estimators/comun.h"

#include "numeric/constantes.h"
#include "numeric/fft.h"

bool SerieAnalizadaConstante(const Vector& serie) {
  if (SerieConstante(serie)) return true;
  const std::uint32_t n = serie.Longitud();
  const auto nPrima = static_cast<std::uint32_t>(LongitudTransformable(static_cast<std::int32_t>(n)));
  return nPrima < n && SerieConstante(serie.SubVector(1, nPrima));
}

Vector FrecuenciasDeFourier(std::uint32_t nPrima, std::uint32_t m) {
  Vector lambda(m);
  double* l = lambda.Datos();
  for (std::uint32_t j = 1; j <= m; ++j) l[j - 1] = static_cast<double>(j) * kDosPi / nPrima;
  return lambda;
}

bool OrdenadasTodasNulas(const Vector& I) {
  for (const double v : I) {
    if (v != 0.0) return false;
  }
  return true;
}
