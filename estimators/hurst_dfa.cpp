#include "estimators/hurst_dfa.h"

#include <algorithm>
#include <cmath>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/estadistica.h"
#include "numeric/progreso.h"

namespace {

// The discrete orthogonal polynomials of the abscissa centred in a box of s points,
// u = j - (s - 1)/2 for j = 0..s-1:
//   P0 = 1, P1 = u, P2 = u^2 - (s^2 - 1)/12, P3 = u (u^2 - (3 s^2 - 7)/20),
// with the sums of squares over the box
//   s, s (s^2 - 1)/12, s (s^2 - 1)(s^2 - 4)/180, s (s^2 - 1)(s^2 - 4)(s^2 - 9)/2800.
struct BaseCaja {
  explicit BaseCaja(std::uint32_t s) {
    const double ds = static_cast<double>(s);
    const double s2 = ds * ds;
    centro = (ds - 1.0) / 2.0;
    a2 = (s2 - 1.0) / 12.0;
    a3 = (3.0 * s2 - 7.0) / 20.0;
    norma[0] = ds;
    norma[1] = ds * (s2 - 1.0) / 12.0;
    norma[2] = ds * (s2 - 1.0) * (s2 - 4.0) / 180.0;
    norma[3] = ds * (s2 - 1.0) * (s2 - 4.0) * (s2 - 9.0) / 2800.0;
  }
  double centro;
  double a2;
  double a3;
  double norma[4];
};

// Sums of the squared residuals of the least-squares polynomials of degree Q fitted to
// the two boxes of s points at a and b. The boxes go side by side so that their sums,
// each in index order, are independent chains of additions.
template <int Q>
void ResiduosDosCajas(const double* a, const double* b, std::uint32_t s, const BaseCaja& base,
                      double& residuoA, double& residuoB) {
  double sumaA = 0.0, sumaB = 0.0;
  for (std::uint32_t j = 0; j < s; ++j) {
    sumaA += a[j];
    sumaB += b[j];
  }
  const double ds = static_cast<double>(s);
  const double mediaA = sumaA / ds, mediaB = sumaB / ds;

  // Projections of Y minus its box mean on P0..PQ (the P0 one is the rounding left
  // by the mean).
  double pa[Q + 1] = {}, pb[Q + 1] = {};
  double u = -base.centro;
  for (std::uint32_t j = 0; j < s; ++j, u += 1.0) {
    const double za = a[j] - mediaA, zb = b[j] - mediaB;
    pa[0] += za;
    pb[0] += zb;
    pa[1] += za * u;
    pb[1] += zb * u;
    if constexpr (Q >= 2) {
      const double p2 = u * u - base.a2;
      pa[2] += za * p2;
      pb[2] += zb * p2;
    }
    if constexpr (Q >= 3) {
      const double p3 = u * (u * u - base.a3);
      pa[3] += za * p3;
      pb[3] += zb * p3;
    }
  }
  double ca[Q + 1], cb[Q + 1];
  for (int k = 0; k <= Q; ++k) {
    ca[k] = pa[k] / base.norma[k];
    cb[k] = pb[k] / base.norma[k];
  }

  // The residuals themselves, squared and summed.
  double ra = 0.0, rb = 0.0;
  u = -base.centro;
  for (std::uint32_t j = 0; j < s; ++j, u += 1.0) {
    double ajusteA = ca[0] + ca[1] * u;
    double ajusteB = cb[0] + cb[1] * u;
    if constexpr (Q >= 2) {
      const double p2 = u * u - base.a2;
      ajusteA += ca[2] * p2;
      ajusteB += cb[2] * p2;
    }
    if constexpr (Q >= 3) {
      const double p3 = u * (u * u - base.a3);
      ajusteA += ca[3] * p3;
      ajusteB += cb[3] * p3;
    }
    const double ea = (a[j] - mediaA) - ajusteA;
    const double eb = (b[j] - mediaB) - ajusteB;
    ra += ea * ea;
    rb += eb * eb;
  }
  residuoA = ra;
  residuoB = rb;
}

// Mean of the 2K values F2 of the boxes of s points of the profile y (n points): start
// box v paired with end box v; start boxes summed first, then end boxes, each in order.
template <int Q>
double MediaF2(const double* y, std::uint32_t n, std::uint32_t s, std::vector<double>& finales) {
  const BaseCaja base(s);
  const std::uint32_t K = n / s;
  const double ds = static_cast<double>(s);
  finales.resize(K);
  // Progress every so many pairs of boxes, about 2^19 samples.
  const std::uint32_t cada = std::max<std::uint32_t>(1, (1u << 18) / s);
  double suma = 0.0;
  for (std::uint32_t v = 0; v < K; ++v) {
    const double* inicio = y + static_cast<std::size_t>(v) * s;
    const double* fin = y + (n - static_cast<std::size_t>(v + 1) * s);
    double ra = 0.0, rb = 0.0;
    ResiduosDosCajas<Q>(inicio, fin, s, base, ra, rb);
    suma += ra / ds;
    finales[v] = rb / ds;
    if (v % cada == cada - 1) Avance(static_cast<double>(v + 1) / K);
  }
  for (std::uint32_t v = 0; v < K; ++v) suma += finales[v];
  return suma / (2.0 * static_cast<double>(K));
}

}  // namespace

std::vector<std::uint32_t> TamanosCajaDfa(std::uint32_t n, std::int32_t cajaMinima,
                                          std::int32_t cajasDecada) {
  return EscalasLogaritmicas(static_cast<std::uint64_t>(cajaMinima), n / 4, cajasDecada);
}

int HurstDfa(const Vector& serie, std::int32_t orden, std::int32_t cajaMinima,
             std::int32_t cajasDecada, double& H, Vector& ejeX, Vector& ejeY) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (orden < 1 || orden > 3) return kEstadoOrdenDfa;
  if (cajaMinima < orden + 2) return kEstadoCajaMinima;
  if (cajasDecada < 1 || cajasDecada > 20) return kEstadoPuntosDecada;
  const std::vector<std::uint32_t> tamanos = TamanosCajaDfa(n, cajaMinima, cajasDecada);
  if (tamanos.size() < 3) return kEstadoPocasCajas;
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  const Vector perfil = SumaAcumulada(serie - Media(serie));
  const double* y = perfil.Datos();
  const std::uint32_t puntos = static_cast<std::uint32_t>(tamanos.size());
  Vector x(puntos), f(puntos);
  std::vector<double> finales;
  for (std::uint32_t j = 0; j < puntos; ++j) {
    const std::uint32_t s = tamanos[j];
    TramoProgreso tramo(static_cast<double>(j) / puntos, static_cast<double>(j + 1) / puntos);
    double media = 0.0;
    switch (orden) {
      case 1: media = MediaF2<1>(y, n, s, finales); break;
      case 2: media = MediaF2<2>(y, n, s, finales); break;
      default: media = MediaF2<3>(y, n, s, finales); break;
    }
    if (media == 0.0) return kEstadoFluctuacionNula;
    x.Datos()[j] = std::log10(static_cast<double>(s));
    f.Datos()[j] = std::log10(std::sqrt(media));
  }

  return AjustarRectaLogLog(
      x, f, [](double pendiente) { return pendiente; }, H, ejeX, ejeY);
}
