#include "estimators/hurst_varianza.h"

#include <cmath>
#include <utility>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/estadistica.h"
#include "numeric/progreso.h"
#include "numeric/regresion.h"

std::vector<std::uint32_t> NivelesAgregacion(std::uint32_t n, std::int32_t puntosDecada,
                                             std::uint32_t minM, std::int32_t minMuestras) {
  std::vector<std::uint32_t> niveles;
  // Below 10 every level 1..9 is used, wherever minM falls in that range.
  if (minM < 10) {
    for (std::uint32_t m = 1; m < 10; ++m) niveles.push_back(m);
  }
  // Each level of the logarithmic phase leaves at least minMuestras block means.
  const std::uint64_t limite = n / static_cast<std::uint32_t>(minMuestras);
  const double factor = std::pow(10.0, 1.0 / puntosDecada);
  std::uint64_t m = minM < 10 ? 10 : minM;
  while (m < limite) {
    niveles.push_back(static_cast<std::uint32_t>(m));
    m = static_cast<std::uint64_t>(std::floor(factor * static_cast<double>(m)));
  }
  return niveles;
}

double VarianzaAgregada(const Vector& serie, std::uint32_t m, std::vector<double>& medias,
                        bool& todasIguales) {
  const std::uint32_t k = serie.Longitud() / m;
  // Sums in index order, as Varianza(Agregar(serie, m)) does.
  const double sumaMedias = MediasDeBloques(serie, m, medias);
  const double media = sumaMedias / static_cast<double>(k);
  double cuadrados = 0.0;
  todasIguales = true;
  for (std::uint32_t i = 0; i < k; ++i) {
    const double dev = medias[i] - media;
    cuadrados += dev * dev;
    if (medias[i] != medias[0]) todasIguales = false;
  }
  return cuadrados / static_cast<double>(k - 1);
}

int ComprobarNivelesVarianza(const Vector& serie, std::int32_t puntosDecada,
                             std::uint32_t minM, std::int32_t minMuestras,
                             std::size_t minimoNiveles, std::vector<std::uint32_t>& niveles) {
  const std::uint32_t n = serie.Longitud();
  if (n < 100) return kEstadoSerieCorta;
  if (puntosDecada < 1 || puntosDecada > 20) return kEstadoPuntosDecada;
  if (minM == 0) return kEstadoMinM;
  if (minMuestras < 10) return kEstadoMinMuestrasVarianza;
  niveles = NivelesAgregacion(n, puntosDecada, minM, minMuestras);
  if (niveles.size() < minimoNiveles) return kEstadoPocosPuntos;
  if (SerieConstante(serie)) return kEstadoSerieConstante;
  return kEstadoOk;
}

Estimacion HurstVarianza(const Vector& serie, std::int32_t puntosDecada, std::uint32_t minM,
                         std::int32_t minMuestras) {
  std::vector<std::uint32_t> niveles;
  const int estado =
      ComprobarNivelesVarianza(serie, puntosDecada, minM, minMuestras, 5, niveles);
  if (estado != kEstadoOk) return Estimacion::Rechazo(estado);

  const std::uint32_t puntos = static_cast<std::uint32_t>(niveles.size());
  Vector x(puntos), y(puntos);
  std::vector<double> medias;
  for (std::uint32_t j = 0; j < puntos; ++j) {
    bool iguales = false;
    TramoProgreso tramo(static_cast<double>(j) / puntos, static_cast<double>(j + 1) / puntos);
    const double v = VarianzaAgregada(serie, niveles[j], medias, iguales);
    if (iguales || !(v > 0.0)) return kEstadoNivelSinVarianza;
    x.Datos()[j] = std::log10(static_cast<double>(niveles[j]));
    y.Datos()[j] = std::log10(v);
  }

  return AjustarRectaLogLog(
      x, y, [](double pendiente) { return pendiente * 0.5 + 1.0; });
}
