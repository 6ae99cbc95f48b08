#include "estimators/t0_idc.h"

#include <cfloat>
#include <cmath>
#include <utility>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/estadistica.h"
#include "numeric/progreso.h"
#include "numeric/regresion.h"

namespace {

// Mean and variance (divisor k - 1) of the counts over blocks of m samples, each count
// formed as in Agregar(serie, m) * m: the block mean times m. cuentas is a work buffer.
void MomentosCuentas(const Vector& serie, std::uint32_t m, std::vector<double>& cuentas,
                     double& media, double& varianza) {
  const std::uint32_t k = serie.Longitud() / m;
  const double dm = static_cast<double>(m);
  MediasDeBloques(serie, m, cuentas);
  double suma = 0.0;
  for (std::uint32_t i = 0; i < k; ++i) {
    cuentas[i] *= dm;
    suma += cuentas[i];
  }
  media = suma / static_cast<double>(k);
  double cuadrados = 0.0;
  for (std::uint32_t i = 0; i < k; ++i) {
    const double dev = cuentas[i] - media;
    cuadrados += dev * dev;
  }
  varianza = cuadrados / static_cast<double>(k - 1);
}

}  // namespace

Estimacion T0IDC(const Vector& serie, std::int32_t puntosDecada, double tInicial,
                 double tFinal) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (puntosDecada < 1 || puntosDecada > 20) return kEstadoPuntosDecada;
  if (!(tInicial > 0.0) || !(tFinal > 0.0)) return kEstadoTiemposIdc;
  // The longest aggregation must leave at least 10 counts; a final scale below the
  // initial one (no aggregation level at all) or beyond any series is refused too.
  const double escalas = std::floor(tFinal / tInicial);
  if (!(escalas >= 1.0) || !std::isfinite(escalas) ||
      static_cast<double>(n) < 10.0 * escalas) {
    return kEstadoEscalaFinalIdc;
  }
  if (SerieConstante(serie)) return kEstadoSerieConstante;

  // Time scales: multiplied by 10^(1/puntosDecada) each step and set exactly to
  // tInicial * 10^j at every full decade so rounding does not accumulate.
  const std::uint32_t K = static_cast<std::uint32_t>(
      std::floor(std::log10(tFinal / tInicial) * puntosDecada + 1.0));
  const double factor = std::pow(10.0, 1.0 / puntosDecada);
  std::vector<std::uint32_t> niveles(K);
  Vector x(K), y(K);
  double T = tInicial;
  std::uint32_t m = 1;
  for (std::uint32_t i = 1; i <= K; ++i) {
    niveles[i - 1] = m;
    x.Datos()[i - 1] = tInicial * std::floor(T / tInicial);
    if (i % static_cast<std::uint32_t>(puntosDecada) != 0) {
      T = T * factor;
    } else {
      T = tInicial * std::pow(10.0, static_cast<double>(i / puntosDecada));
    }
    m = static_cast<std::uint32_t>(std::floor(T / tInicial));
  }
  if (!DosAbscisasDistintas(x)) return kEstadoAjusteSingular;

  std::vector<double> cuentas;
  for (std::uint32_t i = 0; i < K; ++i) {
    double media = 0.0, varianza = 0.0;
    TramoProgreso tramo(static_cast<double>(i) / K, static_cast<double>(i + 1) / K);
    MomentosCuentas(serie, niveles[i], cuentas, media, varianza);
    if (!(media > 0.0)) return kEstadoIdcMediaNoPositiva;
    const double idc = varianza / media;
    if (idc == 1.0) return kEstadoIdcUno;
    x.Datos()[i] = std::log10(x.Datos()[i]);
    y.Datos()[i] = std::log10(std::fabs(idc - 1.0));
  }

  const Vector c = AjustePolinomio(x, y, 1);
  const double t0 = std::pow(10.0, -c(1) / c(2));
  // A nearly flat fit puts T0 beyond the range of doubles (or at zero).
  if (!std::isfinite(t0) || t0 < DBL_MIN) return kEstadoResultadoNoFinito;
  Estimacion e;
  e.valor = t0;
  e.Puntos(std::move(x), std::move(y));
  return e;
}
