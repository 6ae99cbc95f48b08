#include "estimators/hurst_varianza.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "estimators/comun.h"
#include "estimators/estado.h"
#include "numeric/estadistica.h"
#include "numeric/paralelo.h"
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

double VarianzaDeMedias(std::span<const double> medias, double sumaMedias, bool& todasIguales) {
  const std::size_t k = medias.size();
  const double media = sumaMedias / static_cast<double>(k);
  double cuadrados = 0.0;
  todasIguales = true;
  for (std::size_t i = 0; i < k; ++i) {
    const double dev = medias[i] - media;
    cuadrados += dev * dev;
    if (medias[i] != medias[0]) todasIguales = false;
  }
  return cuadrados / static_cast<double>(k - 1);
}

void MediasPorNivel(
    const Vector& serie, const std::vector<std::uint32_t>& niveles,
    const std::function<void(std::size_t j, std::span<const double> medias, double suma)>& tomar) {
  const std::size_t total = niveles.size();
  const std::size_t grupos = std::min(kGruposNiveles, total);
  // Levels from this one on go through the series together, in one pass: their means
  // take a few bytes per sample in all, while each shorter level's take many more.
  constexpr std::uint32_t kNivelJuntos = 10;
  ParaCadaPieza(grupos, [&](std::size_t g) {
    // The group's first level has the shortest blocks, so its buffer never grows after it.
    std::vector<double> medias;
    const std::size_t propios = (total - g + grupos - 1) / grupos;
    std::vector<std::size_t> juntos;  // indices j of the levels that go together
    for (std::size_t i = 0; i < propios; ++i) {
      const std::size_t j = g + i * grupos;
      if (niveles[j] >= kNivelJuntos) {
        juntos.push_back(j);
        continue;
      }
      TramoProgreso tramo(static_cast<double>(i) / propios, static_cast<double>(i + 1) / propios);
      if (niveles[j] == 1) {  // x / 1 is x: the means are the samples, and their sum the series'
        tomar(j, std::span<const double>(serie.Datos(), serie.Longitud()), Suma(serie));
        continue;
      }
      const double suma = MediasDeBloques(serie, niveles[j], medias);
      tomar(j, medias, suma);
    }
    if (juntos.empty()) return;
    std::vector<double>().swap(medias);
    std::vector<std::uint32_t> suyos;
    for (const std::size_t j : juntos) suyos.push_back(niveles[j]);
    std::vector<std::vector<double>> mediasJuntos;
    std::vector<double> sumas;
    {
      TramoProgreso tramo(static_cast<double>(propios - juntos.size()) / propios, 1.0);
      MediasDeBloquesVarias(serie, suyos, mediasJuntos, sumas);
    }
    for (std::size_t l = 0; l < juntos.size(); ++l) tomar(juntos[l], mediasJuntos[l], sumas[l]);
  });
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
  // A level whose means are all equal has no variance, whatever their rounding leaves.
  std::vector<double> varianzas(puntos);
  MediasPorNivel(serie, niveles, [&](std::size_t j, std::span<const double> medias, double suma) {
    bool iguales = false;
    const double v = VarianzaDeMedias(medias, suma, iguales);
    varianzas[j] = iguales ? 0.0 : v;
  });
  Vector x(puntos), y(puntos);
  for (std::uint32_t j = 0; j < puntos; ++j) {
    if (!(varianzas[j] > 0.0)) return kEstadoNivelSinVarianza;
    x.Datos()[j] = std::log10(static_cast<double>(niveles[j]));
    y.Datos()[j] = std::log10(varianzas[j]);
  }

  return AjustarRectaLogLog(
      x, y, [](double pendiente) { return pendiente * 0.5 + 1.0; });
}
