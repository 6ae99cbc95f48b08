#include "estimators/hurst_whittle_agregado.h"

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "estimators/hurst_whittle_fgn.h"
#include "numeric/estadistica.h"
#include "numeric/progreso.h"

Estimacion HurstWhittleAgregado(const Vector& serie, std::uint32_t nivel, SumaDensidad suma) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (nivel < 1 || n / nivel < 100) return kEstadoNivelAgregado;
  if (SerieConstante(serie)) return kEstadoSerieConstante;
  // The block means may still be constant (a series periodic with the level) or have
  // a null periodogram; the Whittle estimator refuses those itself.
  Vector agregada;
  {
    TramoProgreso tramo(0.0, 0.1);
    agregada = Agregar(serie, nivel);
  }
  TramoProgreso tramo(0.1, 1.0);
  return HurstWhittleFgn(agregada, suma);
}
