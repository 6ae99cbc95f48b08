#include "numeric/estadistica.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "numeric/progreso.h"

namespace {

// Terms between two checks of a cancellation request in the long loops below (about a
// millisecond of work); the loops are cut there without changing the order of the sums.
// The runs between checks are summed by functions of their own, kept out of line and
// free of calls, so that their sums stay in registers.
constexpr std::uint32_t kTerminosEntreAvisos = 1u << 20;

// s + x[0] + ... + x[n-1], added in order.
[[gnu::noinline]] double SumarTramo(const double* x, std::uint32_t n, double s) {
  for (std::uint32_t i = 0; i < n; ++i) s += x[i];
  return s;
}

// s + (x[0] - media)² + ... + (x[n-1] - media)², added in order.
[[gnu::noinline]] double SumarCuadradosTramo(const double* x, std::uint32_t n, double media,
                                             double s) {
  for (std::uint32_t i = 0; i < n; ++i) {
    const double d = x[i] - media;
    s += d * d;
  }
  return s;
}


// Means of the blocks i0..i1-1 of m samples of x into y, each added to suma in order.
// Four blocks are summed side by side: each block's own sum is still added in index order,
// but the four chains of additions overlap instead of each waiting for the one before.
[[gnu::noinline]] double MediasTramo(const double* x, std::uint32_t i0, std::uint32_t i1,
                                     std::uint32_t m, double* y, double suma) {
  const double dm = static_cast<double>(m);
  std::uint32_t i = i0;
  for (; i1 - i >= 4; i += 4) {
    const double* b0 = x + static_cast<std::size_t>(i) * m;
    const double* b1 = b0 + m;
    const double* b2 = b1 + m;
    const double* b3 = b2 + m;
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    for (std::uint32_t j = 0; j < m; ++j) {
      s0 += b0[j];
      s1 += b1[j];
      s2 += b2[j];
      s3 += b3[j];
    }
    y[i] = s0 / dm;
    y[i + 1] = s1 / dm;
    y[i + 2] = s2 / dm;
    y[i + 3] = s3 / dm;
    suma += y[i];
    suma += y[i + 1];
    suma += y[i + 2];
    suma += y[i + 3];
  }
  for (; i < i1; ++i) {
    const double* bloque = x + static_cast<std::size_t>(i) * m;
    double s = 0.0;
    for (std::uint32_t j = 0; j < m; ++j) s += bloque[j];
    y[i] = s / dm;
    suma += y[i];
  }
  return suma;
}

}  // namespace

double Suma(const Vector& v) {
  const double* x = v.Datos();
  const std::uint32_t n = v.Longitud();
  double s = 0.0;
  for (std::uint32_t i0 = 0; i0 < n; i0 += kTerminosEntreAvisos) {
    const std::uint32_t i1 = n - i0 < kTerminosEntreAvisos ? n : i0 + kTerminosEntreAvisos;
    s = SumarTramo(x + i0, i1 - i0, s);
    if (i1 < n) ComprobarCancelacion();
  }
  return s;
}

double Maximo(const Vector& v) {
  double m = v(1);  // error 0 when empty
  const double* x = v.Datos();
  for (std::uint32_t i = 1; i < v.Longitud(); ++i)
    if (x[i] > m) m = x[i];
  return m;
}

double Minimo(const Vector& v) {
  double m = v(1);  // error 0 when empty
  const double* x = v.Datos();
  for (std::uint32_t i = 1; i < v.Longitud(); ++i)
    if (x[i] < m) m = x[i];
  return m;
}

double Media(const Vector& v) { return Suma(v) / static_cast<double>(v.Longitud()); }

double Varianza(const Vector& v) {
  const std::uint32_t n = v.Longitud();
  if (n == 0) return std::numeric_limits<double>::quiet_NaN();
  const double media = Media(v);
  const double* x = v.Datos();
  // Same sums, in the same order, as Suma(pow(v - media, 2.0)), without the temporaries.
  double s = 0.0;
  for (std::uint32_t i0 = 0; i0 < n; i0 += kTerminosEntreAvisos) {
    const std::uint32_t i1 = n - i0 < kTerminosEntreAvisos ? n : i0 + kTerminosEntreAvisos;
    s = SumarCuadradosTramo(x + i0, i1 - i0, media, s);
    if (i1 < n) ComprobarCancelacion();
  }
  return s / static_cast<double>(n - 1);
}

Vector SumaAcumulada(const Vector& v) {
  Vector c(v.Longitud());
  c[1] = v(1);  // error 0 when empty
  const double* x = v.Datos();
  double* y = c.Datos();
  for (std::uint32_t i = 1; i < v.Longitud(); ++i) y[i] = y[i - 1] + x[i];
  return c;
}

Vector SumaAcumulada(const Vector& v, double resta) {
  Vector c(v.Longitud());
  c[1] = v(1) - resta;  // error 0 when empty
  const double* x = v.Datos();
  double* y = c.Datos();
  for (std::uint32_t i = 1; i < v.Longitud(); ++i) y[i] = y[i - 1] + (x[i] - resta);
  return c;
}

namespace {

// Means of the k blocks of m samples of x into y; returns their sum in index order.
// Reports its progress (and checks for cancellation) every kTerminosEntreAvisos samples or
// so: after runs of whole blocks, or within a block longer than that.
double Medias(const double* x, std::uint32_t k, std::uint32_t m, double* y) {
  double suma = 0.0;
  if (m < kTerminosEntreAvisos) {
    const std::uint32_t porTramo = kTerminosEntreAvisos / m;
    for (std::uint32_t i0 = 0; i0 < k; i0 += porTramo) {
      const std::uint32_t i1 = k - i0 < porTramo ? k : i0 + porTramo;
      suma = MediasTramo(x, i0, i1, m, y, suma);
      Avance(static_cast<double>(i1) / k);
    }
    return suma;
  }
  const double dm = static_cast<double>(m);
  for (std::uint32_t i = 0; i < k; ++i) {
    const double* bloque = x + static_cast<std::size_t>(i) * m;
    double s = 0.0;
    for (std::uint32_t j0 = 0; j0 < m; j0 += kTerminosEntreAvisos) {
      const std::uint32_t j1 = m - j0 < kTerminosEntreAvisos ? m : j0 + kTerminosEntreAvisos;
      s = SumarTramo(bloque + j0, j1 - j0, s);
      Avance((static_cast<double>(i) * m + j1) / (static_cast<double>(k) * m));
    }
    y[i] = s / dm;
    suma += y[i];
  }
  return suma;
}

}  // namespace

Vector Agregar(const Vector& v, std::uint32_t m) {
  if (m == 0) ErrorEjecucion(kFalloNivelAgregacion);
  const std::uint32_t k = v.Longitud() / m;
  Vector r(k);
  Medias(v.Datos(), k, m, r.Datos());
  return r;
}

double MediasDeBloques(const Vector& v, std::uint32_t m, std::vector<double>& medias) {
  const std::uint32_t k = v.Longitud() / m;
  medias.resize(k);
  return Medias(v.Datos(), k, m, medias.data());
}

void MediasDeBloquesVarias(const Vector& v, const std::vector<std::uint32_t>& niveles,
                           std::vector<std::vector<double>>& medias, std::vector<double>& sumas) {
  // Samples per stretch: 128 KiB.
  constexpr std::size_t kTramo = 16384;
  const double* x = v.Datos();
  const std::size_t n = v.Longitud();
  const std::size_t cuantos = niveles.size();
  medias.resize(cuantos);
  sumas.assign(cuantos, 0.0);
  // The sum so far of the block each level has in progress at the end of a stretch.
  std::vector<double> parciales(cuantos, 0.0);
  for (std::size_t l = 0; l < cuantos; ++l) medias[l].resize(n / niveles[l]);
  for (std::size_t desde = 0; desde < n; desde += kTramo) {
    const std::size_t hasta = std::min(n, desde + kTramo);
    for (std::size_t l = 0; l < cuantos; ++l) {
      const std::size_t m = niveles[l];
      double* y = medias[l].data();
      const std::size_t fin = std::min(hasta, medias[l].size() * m);  // the whole blocks only
      std::size_t a = desde;
      if (a >= fin) continue;
      std::size_t i = a / m;
      // The block that began in an earlier stretch, continued in index order.
      if (a > i * m) {
        const std::size_t tope = std::min(fin, (i + 1) * m);
        parciales[l] = SumarTramo(x + a, static_cast<std::uint32_t>(tope - a), parciales[l]);
        a = tope;
        if (a < (i + 1) * m) continue;
        y[i] = parciales[l] / static_cast<double>(m);
        sumas[l] += y[i];
        ++i;
      }
      // The blocks wholly in this stretch, then the start of the next block.
      const std::size_t i1 = fin / m;
      if (i1 > i) {
        sumas[l] = MediasTramo(x, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i1),
                               static_cast<std::uint32_t>(m), y, sumas[l]);
        a = i1 * m;
      }
      if (a < fin) parciales[l] = SumarTramo(x + a, static_cast<std::uint32_t>(fin - a), 0.0);
    }
    Avance(static_cast<double>(hasta) / static_cast<double>(n));
  }
}

int ExponenteDeEscala(const Vector& v) {
  double mayor = 0.0;
  for (const double x : v) {
    const double a = std::fabs(x);
    if (std::isfinite(a) && a > mayor) mayor = a;
  }
  if (mayor == 0.0) return 0;
  int e = 0;
  std::frexp(mayor, &e);
  return (e > 256 || e < -256) ? e : 0;
}

Vector EscalarPotenciaDeDos(const Vector& v, int e) {
  Vector r(v.Longitud());
  const double* x = v.Datos();
  double* y = r.Datos();
  for (std::uint32_t i = 0; i < v.Longitud(); ++i) y[i] = std::ldexp(x[i], -e);
  return r;
}

namespace {

// x·2^k, marked unrepresentable when that overflows or when a non-zero x underflows to 0.
Estadistico Desescalar(double x, int k) {
  Estadistico r;
  r.valor = std::ldexp(x, k);
  r.representable = std::isfinite(r.valor) && (r.valor != 0.0 || x == 0.0);
  return r;
}

}  // namespace

Estadistico MediaDeEscalada(const Vector& escalada, int e) {
  Estadistico r = Desescalar(Media(escalada), e);
  // The true mean lies between the extremes, which are finite: an overflow can only be the
  // rounding of the sum, and the nearest extreme is then the closest double.
  if (std::isinf(r.valor)) {
    r.valor = r.valor > 0 ? std::ldexp(Maximo(escalada), e) : std::ldexp(Minimo(escalada), e);
    r.representable = true;
  }
  return r;
}

Estadistico VarianzaDeEscalada(const Vector& escalada, int e) {
  return Desescalar(Varianza(escalada), 2 * e);
}

Vector Rampa(std::int32_t inicio, std::int32_t salto, std::int32_t fin) {
  if (salto <= 0) ErrorEjecucion(kFalloSaltoRampa);
  // 64-bit intermediates: the checks and the length must not overflow near the limits
  // of the 32-bit range.
  const std::int64_t i0 = inicio, s = salto, f = fin;
  if (i0 + s > f + 1) ErrorEjecucion(kFalloExtremosRampa);
  const std::int64_t longitud = (f - i0) / s + 1;
  // A Vector holds at most 2^32 - 1 elements (and such a ramp would not fit in memory).
  if (longitud > std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
  Vector r(static_cast<std::uint32_t>(longitud));
  double* y = r.Datos();
  for (std::int64_t i = 0; i < longitud; ++i) y[i] = static_cast<double>(i0 + s * i);
  return r;
}
