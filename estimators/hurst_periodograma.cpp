#include "estimators/hurst_periodograma.h"

#include <cmath>
#include <cstdint>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/fft.h"
#include "numeric/regresion.h"

Estimacion HurstPeriodograma(const Vector& serie, float porcentaje) {
  if (serie.Longitud() < 100) return kEstadoSerieCorta;
  // A percentage that is not a number is refused like one above the limit.
  if (!(porcentaje <= 20.0f)) return kEstadoPorcentaje;
  // The number of frequencies depends only on the transformed length, so too few of them
  // is reported before the samples are looked at.
  const auto nPrima = static_cast<std::uint32_t>(
      LongitudTransformable(static_cast<std::int32_t>(serie.Longitud())));
  // porcentaje per cent of the (n' − 1)/2 positive frequencies, the product formed in
  // extended precision and rounded to double before the floor.
  const double producto = static_cast<double>(static_cast<long double>(porcentaje) *
                                              static_cast<long double>(nPrima - 1) * 0.005L);
  const double mReal = std::floor(producto);
  if (!(mReal >= 5)) return kEstadoPocosPuntos;
  const auto m = static_cast<std::uint32_t>(mReal);
  if (SerieAnalizadaConstante(serie)) return kEstadoSerieConstante;

  const Vector I = OrdenadasPeriodograma(serie, m);
  Vector lambda = FrecuenciasDeFourier(nPrima, m);
  for (const double v : I) {
    if (v == 0.0) return kEstadoPeriodogramaNulo;
  }
  Vector lx = log10(lambda);
  Vector ly = log10(I);
  const Vector coef = AjustePolinomio(lx, ly, 1);
  Estimacion e;
  e.valor = (1 - coef(2)) * 0.5;
  e.Puntos(std::move(lx), std::move(ly));
  return e;
}
