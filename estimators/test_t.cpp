#include "estimators/test_t.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_whittle_fgn.h"
#include "numeric/especiales.h"
#include "numeric/fft.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"

Estimacion TestT(const Vector& serie, std::uint32_t k, double alfa) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  // One block or none leaves no dispersion to measure (and no degrees of freedom).
  if (k < 2) return kEstadoBloquesTestT;
  const std::uint32_t L = n / k;
  if (L < 100) return kEstadoBloquesTestT;
  if (!(alfa >= 0) || alfa > 1) return kEstadoSignificancia;
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  // A block whose transformed samples are all equal has no estimate.
  const auto nPrima = static_cast<std::uint32_t>(LongitudTransformable(static_cast<std::int32_t>(L)));
  for (std::uint32_t i = 0; i < k; ++i) {
    const double* x = serie.Datos() + static_cast<std::size_t>(i) * L;
    if (std::all_of(x + 1, x + nPrima, [x](double y) { return y == x[0]; }))
      return kEstadoSerieConstante;
  }

  // The blocks are estimated on all threads, one block per piece; every block has the same
  // length, so they share the frequency tables. The first block in order that is refused
  // decides the status, or the first that meets a library fault, as in a plain loop.
  struct Rechazo {
    int estado;
  };
  std::shared_ptr<const TablaFgn> tabla;
  {
    TramoProgreso tramo(0.0, 0.05);
    tabla = std::make_shared<const TablaFgn>((nPrima - 1) / 2, nPrima);
  }
  std::vector<double> h(k), v(k), w(k);
  try {
    TramoProgreso tramo(0.05, 1.0);
    ParaCadaPieza(k, [&](std::size_t i) {
      const Vector bloque = serie.SubVector(static_cast<std::uint32_t>(i) * L + 1,
                                            static_cast<std::uint32_t>(i + 1) * L);
      const Estimacion e = HurstWhittleFgn(bloque, tabla);
      if (!e.Exito()) throw Rechazo{e.estado};
      h[i] = e.valor;
      v[i] = e.CifraDe(cifra::kVarianzaWhittle);
    });
  } catch (const Rechazo& rechazo) {
    return Estimacion::Rechazo(rechazo.estado);
  }
  for (std::uint32_t i = 0; i < k; ++i) {
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
  Estimacion resultado;
  resultado.valor = p;
  resultado.cifras.push_back({cifra::kConstante, p > alfa ? 1.0 : 0.0});
  return resultado;
}
