#include "estimators/test_t.h"

#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_whittle_fgn.h"
#include "numeric/especiales.h"

int TestT(const Vector& serie, std::uint32_t k, double alfa, double& P, int& constante) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  // One block or none leaves no dispersion to measure (and no degrees of freedom).
  if (k < 2) return kEstadoBloquesTestT;
  const std::uint32_t L = n / k;
  if (L < 100) return kEstadoBloquesTestT;
  if (!(alfa >= 0) || alfa > 1) return kEstadoSignificancia;
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  std::vector<Vector> bloques;
  bloques.reserve(k);
  for (std::uint32_t i = 1; i <= k; ++i) {
    bloques.push_back(serie.SubVector((i - 1) * L + 1, i * L));
    if (SerieAnalizadaConstante(bloques.back())) return kEstadoSerieConstante;
  }

  std::vector<double> h(k), v(k), w(k);
  for (std::uint32_t i = 0; i < k; ++i) {
    double inferior = 0.0, superior = 0.0;
    const int estado = HurstWhittleFgn(bloques[i], h[i], inferior, superior, v[i]);
    if (estado != kEstadoOk) return estado;
    // Block boundaries b(i) = (i − 1)·L; each weight is the block length.
    w[i] = static_cast<double>((i + 1) * L) - static_cast<double>(i * L);
  }

  const double N = static_cast<double>(k) * L;
  double suma = 0.0;
  for (std::uint32_t i = 0; i < k; ++i) suma += w[i] * h[i];
  const double hm = suma * (1 / N);
  double T = 0.0;
  for (std::uint32_t i = 0; i < k; ++i) {
    const double d = h[i] - hm;
    T += w[i] * (d * d) / v[i];
  }
  const double p = 1 - ProbChi2(T, static_cast<double>(static_cast<std::int32_t>(k - 1)));
  P = p;
  constante = p > alfa ? 1 : 0;
  return kEstadoOk;
}
