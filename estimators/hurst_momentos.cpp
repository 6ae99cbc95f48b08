#include "estimators/hurst_momentos.h"

#include <cmath>
#include <vector>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_varianza.h"
#include "numeric/estadistica.h"

Estimacion HurstMomentosAbsolutos(const Vector& serie, std::int32_t puntosDecada,
                                  std::uint32_t minM, std::int32_t minMuestras) {
  std::vector<std::uint32_t> niveles;
  const int estado =
      ComprobarNivelesVarianza(serie, puntosDecada, minM, minMuestras, 5, niveles);
  if (estado != kEstadoOk) return Estimacion::Rechazo(estado);

  const double media = Media(serie);
  const std::uint32_t puntos = static_cast<std::uint32_t>(niveles.size());
  std::vector<double> momentos(puntos);
  MediasPorNivel(serie, niveles, [&](std::size_t j, std::span<const double> medias, double) {
    double suma = 0.0;
    for (const double m : medias) suma += std::abs(m - media);
    momentos[j] = suma / static_cast<double>(medias.size());
  });
  Vector x(puntos), y(puntos);
  for (std::uint32_t j = 0; j < puntos; ++j) {
    if (momentos[j] == 0.0) return kEstadoMomentoNulo;
    x.Datos()[j] = std::log10(static_cast<double>(niveles[j]));
    y.Datos()[j] = std::log10(momentos[j]);
  }

  return AjustarRectaLogLog(
      x, y, [](double pendiente) { return 1.0 + pendiente; });
}
