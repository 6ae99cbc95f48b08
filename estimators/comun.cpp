#include "estimators/comun.h"

#include <algorithm>
#include <cmath>

#include "numeric/constantes.h"
#include "numeric/fft.h"
#include "numeric/progreso.h"

std::vector<std::uint32_t> EscalasLogaritmicas(std::uint64_t inicio, std::uint64_t limite,
                                               std::int32_t porDecada) {
  std::vector<std::uint32_t> escalas;
  const double factor = std::pow(10.0, 1.0 / porDecada);
  std::uint64_t s = inicio;
  while (s <= limite) {
    escalas.push_back(static_cast<std::uint32_t>(s));
    const auto siguiente = static_cast<std::uint64_t>(std::floor(static_cast<double>(s) * factor));
    s = siguiente > s + 1 ? siguiente : s + 1;
  }
  return escalas;
}

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

int OrdenadasWhittle(const Vector& serie, double hastaProgreso,
                     std::shared_ptr<const Vector>& I, std::uint32_t& nPrima) {
  nPrima = static_cast<std::uint32_t>(
      LongitudTransformable(static_cast<std::int32_t>(serie.Longitud())));
  const std::uint32_t m = (nPrima - 1) / 2;
  {
    TramoProgreso tramo(0.0, hastaProgreso);
    I = OrdenadasPeriodogramaSinCopia(serie, m);
  }
  return OrdenadasTodasNulas(I->Datos(), m) ? kEstadoPeriodogramaNulo : kEstadoOk;
}

bool OrdenadasTodasNulas(const double* I, std::size_t m) {
  return std::all_of(I, I + m, [](double v) { return v == 0.0; });
}
