#include "estimators/hurst_var_diferenciada.h"

#include <cmath>
#include <utility>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_varianza.h"
#include "numeric/progreso.h"
#include "numeric/regresion.h"

Estimacion HurstVarDiferenciada(const Vector& serie, std::int32_t puntosDecada,
                                std::uint32_t minM, std::int32_t minMuestras) {
  // Five differences need six levels.
  std::vector<std::uint32_t> niveles;
  const int estado =
      ComprobarNivelesVarianza(serie, puntosDecada, minM, minMuestras, 6, niveles);
  if (estado != kEstadoOk) return Estimacion::Rechazo(estado);

  const std::uint32_t niv = static_cast<std::uint32_t>(niveles.size());
  std::vector<double> varianzas(niv);
  std::vector<double> medias;
  for (std::uint32_t j = 0; j < niv; ++j) {
    bool iguales = false;
    TramoProgreso tramo(static_cast<double>(j) / niv, static_cast<double>(j + 1) / niv);
    varianzas[j] = VarianzaAgregada(serie, niveles[j], medias, iguales);
  }

  // Each difference is plotted at the smaller of its two levels; the last level only
  // closes the last difference.
  Vector x(niv - 1), y(niv - 1);
  for (std::uint32_t j = 0; j + 1 < niv; ++j) {
    const double dif = std::fabs(varianzas[j + 1] - varianzas[j]);
    if (!(dif > 0.0)) return kEstadoDiferenciaNula;
    x.Datos()[j] = std::log10(static_cast<double>(niveles[j]));
    y.Datos()[j] = std::log10(dif);
  }

  return AjustarRectaLogLog(
      x, y, [](double pendiente) { return pendiente * 0.5 + 1.0; });
}
