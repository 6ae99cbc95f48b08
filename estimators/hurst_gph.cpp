#include "estimators/hurst_gph.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/constantes.h"
#include "numeric/estadistica.h"
#include "numeric/fft_cualquiera.h"

namespace {

constexpr double kZ975 = kCuantilNormal975;

}  // namespace

std::uint32_t FrecuenciasGph(std::uint32_t n, double exponente) {
  if (n < 2) return 0;
  // The 1e-9 keeps pow from landing just below an integer (1024^0.3 gives 7.999…).
  const double potencia = std::floor(std::pow(static_cast<double>(n), exponente) + 1e-9);
  const std::uint32_t tope = (n - 1) / 2;
  return potencia >= tope ? tope : static_cast<std::uint32_t>(potencia);
}

Estimacion HurstGph(const Vector& serie, double exponente) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (!(exponente >= 0.3 && exponente <= 0.9)) return kEstadoExponenteGph;
  const std::uint32_t m = FrecuenciasGph(n, exponente);
  if (m < 5) return kEstadoPocosPuntos;
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  std::vector<double> re(m + 1), im(m + 1);
  DftPrimerasFrecuenciasCentradas(static_cast<std::int32_t>(n), serie.Datos(), Media(serie),
                                  static_cast<std::int32_t>(m + 1), re.data(), im.data());

  // Ordinates, regressor and response; sums in index order.
  const double divisor = kDosPi * static_cast<double>(n);
  std::vector<double> lambda(m), I(m), X(m), Y(m);
  double sumaX = 0.0, sumaY = 0.0;
  for (std::uint32_t j = 1; j <= m; ++j) {
    const double ordenada = (re[j] * re[j] + im[j] * im[j]) / divisor;
    if (ordenada == 0.0) return kEstadoPeriodogramaNulo;
    const double l = kDosPi * static_cast<double>(j) / static_cast<double>(n);
    const double s = std::sin(l / 2.0);
    lambda[j - 1] = l;
    I[j - 1] = ordenada;
    X[j - 1] = -std::log(4.0 * s * s);
    Y[j - 1] = std::log(ordenada);
    sumaX += X[j - 1];
    sumaY += Y[j - 1];
  }
  // Ordinary least squares on centred sums.
  const double mediaX = sumaX / m, mediaY = sumaY / m;
  double sxx = 0.0, sxy = 0.0;
  for (std::uint32_t i = 0; i < m; ++i) {
    const double dx = X[i] - mediaX;
    sxx += dx * dx;
    sxy += dx * (Y[i] - mediaY);
  }
  const double d = sxy / sxx;
  const double c = mediaY - d * mediaX;
  const double h = d + 0.5;
  if (!std::isfinite(h)) return kEstadoResultadoNoFinito;

  const double semiancho = kZ975 * kPi / std::sqrt(24.0 * m);
  Vector x(m), y(m), ajuste(m);
  for (std::uint32_t i = 0; i < m; ++i) {
    x.Datos()[i] = std::log10(lambda[i]);
    y.Datos()[i] = std::log10(I[i]);
    ajuste.Datos()[i] = (c + d * X[i]) / std::numbers::ln10;
  }
  Estimacion e;
  e.ValorConIntervalo(h, semiancho);
  e.Puntos(std::move(x), std::move(y), std::move(ajuste));
  e.cifras.push_back({cifra::kFrecuencias, static_cast<double>(m)});
  return e;
}
