// Hurst parameter from the variance of the aggregated series.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "estimators/estimacion.h"
#include "numeric/vector.h"

// For the aggregation levels m (1..9 when minM < 10, then from max(10, minM) multiplying
// by 10^(1/puntosDecada) while m < n div minMuestras) takes the variance of the block
// means and fits a straight line to (log10 m, log10 variance); H = 1 + slope / 2.
// Returns the status (estimators/estado.h), tested in this order:
//   1 n < 100; 5 puntosDecada outside 1..20; 9 minM = 0; 8 minMuestras < 10;
//   2 fewer than 5 levels; 18 constant series; 20 a level with zero variance;
//   26 non-finite slope.
// On status 0: H, ejeX (log10 m) and ejeY (log10 variance).
Estimacion HurstVarianza(const Vector& serie, std::int32_t puntosDecada, std::uint32_t minM,
                         std::int32_t minMuestras);

// The aggregation levels above for a series of n samples, increasing. Parameters are
// assumed valid (puntosDecada 1..20, minM >= 1, minMuestras >= 10).
std::vector<std::uint32_t> NivelesAgregacion(std::uint32_t n, std::int32_t puntosDecada,
                                             std::uint32_t minM, std::int32_t minMuestras);

// The checks shared by both variance methods, in their order (1, 5, 9, 8, then 2 when
// fewer than minimoNiveles levels, then 18), filling niveles; returns the status.
int ComprobarNivelesVarianza(const Vector& serie, std::int32_t puntosDecada,
                             std::uint32_t minM, std::int32_t minMuestras,
                             std::size_t minimoNiveles, std::vector<std::uint32_t>& niveles);

// Variance (divisor k - 1) of the k block means of one level, whose sum in index order is
// sumaMedias: the same value as Varianza(Agregar(serie, m)). Sets todasIguales when the
// means are all equal.
double VarianzaDeMedias(std::span<const double> medias, double sumaMedias, bool& todasIguales);

// Calls tomar(j, medias, suma) for each level j of niveles with the block means of that
// level (MediasDeBloques; at m = 1 the series itself, which they equal) and their sum.
// The levels are spread over the threads in kGruposNiveles groups (level j in group
// j mod kGruposNiveles, so that each holds short and long blocks alike), each group filling
// one buffer of its own, level after level, and then those of its levels of 10 and more,
// together in one pass over the series (MediasDeBloquesVarias): tomar must write only the
// results of level j. Each level is the same share of its group's progress.
inline constexpr std::size_t kGruposNiveles = 4;
void MediasPorNivel(
    const Vector& serie, const std::vector<std::uint32_t>& niveles,
    const std::function<void(std::size_t j, std::span<const double> medias, double suma)>& tomar);
