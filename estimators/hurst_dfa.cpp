#include "estimators/hurst_dfa.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/estadistica.h"
#include "numeric/paralelo.h"
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

// The residual of a box from sums gathered in one pass: with z the box values minus the
// box's first value (so that the sums are of the box's own range, not of the profile's
// level), the sum of the squared residuals of the fit is
//   sum z^2 - (sum z)^2 / s - sum over k = 1..Q of (sum z Pk)^2 / norm k,
// since the Pk (k >= 1) sum to zero over the box. That difference cancels when the
// polynomial fits the box closely; a box whose residual is below kCancelacion of sum z^2
// is summed again residual by residual (ResiduosDosCajas), which loses nothing there.
constexpr double kCancelacion = 1e-3;

// The boxes of s points at origen + m s, m = 0..K-1, followed along the profile one stretch
// at a time: the sums of the box in progress carry over from one stretch to the next.
template <int Q>
class Cajas {
 public:
  Cajas(std::uint32_t s, std::size_t origen, std::uint32_t K)
      : base_(s), s_(s), origen_(origen), K_(K) {}

  // Adds the points [desde, hasta) of the profile y; each box completed calls
  // terminada(F2), boxes in increasing m.
  template <class Terminada>
  void Recorrer(const double* y, std::size_t desde, std::size_t hasta, Terminada&& terminada) {
    while (m_ < K_) {
      const std::size_t inicio = origen_ + static_cast<std::size_t>(m_) * s_;
      const std::size_t fin = inicio + s_;
      if (inicio >= hasta) return;
      const std::size_t j = std::max(desde, inicio);
      if (j == inicio) Empezar(y[inicio]);
      const std::size_t tope = std::min(hasta, fin);
      Sumar(y + inicio, j - inicio, tope - inicio);
      if (tope < fin) return;
      terminada(Residuo(y + inicio) / static_cast<double>(s_));
      ++m_;
    }
  }

 private:
  // kSumas sums (z, z P1, ..., z PQ, z^2), each split in kCarriles lanes so that the
  // additions do not wait on each other: two registers of two lanes (vectors of two
  // doubles exist on every x86-64).
  static constexpr int kSumas = Q + 2;
  static constexpr int kCarriles = 4;
  typedef double Par __attribute__((vector_size(2 * sizeof(double))));

  void Empezar(double ref) {
    ref_ = ref;
    for (auto& suma : sumas_) suma[0] = suma[1] = Par{};
  }

  // Points desde..hasta-1 of the box that starts at caja.
  void Sumar(const double* caja, std::size_t desde, std::size_t hasta) {
    // Groups of kCarriles points, one lane per point; the points left over go to lane 0.
    // Where a box's stretches begin depends only on the box and kTramo, so each point's
    // lane does too, whatever the threads. Named locals, not arrays, so that the compiler
    // keeps them in registers.
    Par s0a = sumas_[0][0], s0b = sumas_[0][1];
    Par s1a = sumas_[1][0], s1b = sumas_[1][1];
    Par s2a = {}, s2b = {}, s3a = {}, s3b = {};
    if constexpr (Q >= 2) s2a = sumas_[2][0], s2b = sumas_[2][1];
    if constexpr (Q >= 3) s3a = sumas_[3][0], s3b = sumas_[3][1];
    Par ca = sumas_[Q + 1][0], cb = sumas_[Q + 1][1];
    const double ref = ref_, centro = base_.centro, a2 = base_.a2, a3 = base_.a3;
    std::size_t j = desde;
    Par ua = {static_cast<double>(j) - centro, static_cast<double>(j + 1) - centro};
    Par ub = ua + 2.0;
    for (; j + kCarriles <= hasta; j += kCarriles) {
      Par za, zb;
      std::memcpy(&za, caja + j, sizeof za);
      std::memcpy(&zb, caja + j + 2, sizeof zb);
      za -= ref;
      zb -= ref;
      s0a += za;
      s0b += zb;
      s1a += za * ua;
      s1b += zb * ub;
      if constexpr (Q >= 2) {
        s2a += za * (ua * ua - a2);
        s2b += zb * (ub * ub - a2);
      }
      if constexpr (Q >= 3) {
        s3a += za * (ua * (ua * ua - a3));
        s3b += zb * (ub * (ub * ub - a3));
      }
      ca += za * za;
      cb += zb * zb;
      ua += 4.0;
      ub += 4.0;
    }
    double r0 = 0.0, r1 = 0.0, r2 = 0.0, r3 = 0.0, rc = 0.0;
    for (; j < hasta; ++j) {
      const double v = static_cast<double>(j) - centro;
      const double z = caja[j] - ref;
      r0 += z;
      r1 += z * v;
      if constexpr (Q >= 2) r2 += z * (v * v - a2);
      if constexpr (Q >= 3) r3 += z * (v * (v * v - a3));
      rc += z * z;
    }
    s0a[0] += r0;
    s1a[0] += r1;
    s2a[0] += r2;
    s3a[0] += r3;
    ca[0] += rc;
    sumas_[0][0] = s0a;
    sumas_[0][1] = s0b;
    sumas_[1][0] = s1a;
    sumas_[1][1] = s1b;
    if constexpr (Q >= 2) sumas_[2][0] = s2a, sumas_[2][1] = s2b;
    if constexpr (Q >= 3) sumas_[3][0] = s3a, sumas_[3][1] = s3b;
    sumas_[Q + 1][0] = ca;
    sumas_[Q + 1][1] = cb;
  }

  double Residuo(const double* caja) const {
    double suma[kSumas];
    for (int k = 0; k < kSumas; ++k)
      suma[k] = (sumas_[k][0][0] + sumas_[k][0][1]) + (sumas_[k][1][0] + sumas_[k][1][1]);
    const double cuadrados = suma[Q + 1];
    double r = cuadrados;
    for (int k = 0; k <= Q; ++k) r -= suma[k] * suma[k] / base_.norma[k];
    if (r > kCancelacion * cuadrados) return r;
    double exacto = 0.0, otro = 0.0;
    ResiduosDosCajas<Q>(caja, caja, s_, base_, exacto, otro);
    return exacto;
  }

  BaseCaja base_;
  std::uint32_t s_;
  std::size_t origen_;
  std::uint32_t K_;
  std::uint32_t m_ = 0;
  double ref_ = 0.0;
  Par sumas_[kSumas][2] = {};
};

// Points of the profile taken at once by all the box sizes of a group: small enough to
// stay in the processor's cache while every size passes over them.
constexpr std::size_t kTramo = 16384;

// Mean of the 2K values F2 of the boxes of each size s in `tamanos` (K = n div s boxes from
// the start of the profile y of n points, K from its end), written to medias[i]. The profile
// is read once, a stretch at a time, for all the sizes. The start boxes are summed in
// order; the end boxes, completed from the last one to the first, in that order.
template <int Q>
void MediasF2(const double* y, std::uint32_t n, const std::vector<std::uint32_t>& tamanos,
              double* medias) {
  struct Tamano {
    Cajas<Q> inicio, fin;
    double sumaInicio = 0.0, sumaFin = 0.0;
  };
  std::vector<Tamano> grupo;
  grupo.reserve(tamanos.size());
  for (const std::uint32_t s : tamanos) {
    const std::uint32_t K = n / s;
    grupo.push_back({Cajas<Q>(s, 0, K), Cajas<Q>(s, n - static_cast<std::size_t>(K) * s, K)});
  }
  for (std::size_t desde = 0; desde < n; desde += kTramo) {
    const std::size_t hasta = std::min<std::size_t>(n, desde + kTramo);
    for (Tamano& t : grupo) {
      t.inicio.Recorrer(y, desde, hasta, [&](double f2) { t.sumaInicio += f2; });
      t.fin.Recorrer(y, desde, hasta, [&](double f2) { t.sumaFin += f2; });
    }
    Avance(static_cast<double>(hasta) / n);
  }
  for (std::size_t i = 0; i < tamanos.size(); ++i)
    medias[i] = (grupo[i].sumaInicio + grupo[i].sumaFin) / (2.0 * (n / tamanos[i]));
}

}  // namespace

std::vector<std::uint32_t> TamanosCajaDfa(std::uint32_t n, std::int32_t cajaMinima,
                                          std::int32_t cajasDecada) {
  return EscalasLogaritmicas(static_cast<std::uint64_t>(cajaMinima), n / 4, cajasDecada);
}

Estimacion HurstDfa(const Vector& serie, std::int32_t orden, std::int32_t cajaMinima,
                    std::int32_t cajasDecada) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (orden < 1 || orden > 3) return kEstadoOrdenDfa;
  if (cajaMinima < orden + 2) return kEstadoCajaMinima;
  if (cajasDecada < 1 || cajasDecada > 20) return kEstadoPuntosDecada;
  const std::vector<std::uint32_t> tamanos = TamanosCajaDfa(n, cajaMinima, cajasDecada);
  if (tamanos.size() < 3) return kEstadoPocasCajas;
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  const Vector perfil = SumaAcumulada(serie, Media(serie));
  const double* y = perfil.Datos();
  const std::uint32_t puntos = static_cast<std::uint32_t>(tamanos.size());
  // The sizes go in kGrupos groups (size j in group j mod kGrupos, so that each holds
  // small and large ones alike), each group a piece that reads the profile once.
  constexpr std::size_t kGrupos = 4;
  std::vector<double> medias(puntos);
  ParaCadaPieza(kGrupos, [&](std::size_t g) {
    std::vector<std::uint32_t> suyos;
    for (std::size_t j = g; j < puntos; j += kGrupos) suyos.push_back(tamanos[j]);
    std::vector<double> resultado(suyos.size());
    switch (orden) {
      case 1: MediasF2<1>(y, n, suyos, resultado.data()); break;
      case 2: MediasF2<2>(y, n, suyos, resultado.data()); break;
      default: MediasF2<3>(y, n, suyos, resultado.data()); break;
    }
    for (std::size_t i = 0; i < suyos.size(); ++i) medias[g + i * kGrupos] = resultado[i];
  });
  Vector x(puntos), f(puntos);
  for (std::uint32_t j = 0; j < puntos; ++j) {
    if (medias[j] == 0.0) return kEstadoFluctuacionNula;
    x.Datos()[j] = std::log10(static_cast<double>(tamanos[j]));
    f.Datos()[j] = std::log10(std::sqrt(medias[j]));
  }

  return AjustarRectaLogLog(
      x, f, [](double pendiente) { return pendiente; });
}
