#include "estimators/hurst_var_diferenciada.h"

#include <cmath>
#include <utility>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_varianza.h"
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
  MediasPorNivel(serie, niveles, [&](std::size_t j, std::span<const double> medias, double suma) {
    bool iguales = false;
    varianzas[j] = VarianzaDeMedias(medias, suma, iguales);
  });

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
