// Statistics and transforms of series held in a Vector: sum, extremes, mean, sample
// variance, running sum, block aggregation, binary scaling and integer ramps (the
// autocorrelation is in numeric/autocorrelacion.h).
//
// None of them modifies its input. Misuse ends in ErrorEjecucion with the code noted.
#pragma once

#include <cstdint>
#include <vector>

#include "numeric/vector.h"

// Sum in index order; 0 for an empty vector.
double Suma(const Vector& v);
// Largest / smallest element; the first of equal extremes wins. Empty vector: error 0.
double Maximo(const Vector& v);
double Minimo(const Vector& v);
// Suma(v) / n. Not guarded against an empty vector (NaN).
double Media(const Vector& v);
// Sample variance with divisor n - 1. Not guarded against fewer than 2 elements.
double Varianza(const Vector& v);
// c(1) = x(1), c(i) = c(i - 1) + x(i). Empty vector: error 0.
Vector SumaAcumulada(const Vector& v);
// SumaAcumulada(v - resta), the same sums in the same order, in one pass without the copy.
Vector SumaAcumulada(const Vector& v, double resta);
// Means of the floor(n / m) non-overlapping blocks of m samples; the incomplete tail
// block is ignored. m = 0: error 15.
Vector Agregar(const Vector& v, std::uint32_t m);
// The loop behind Agregar: the means of the k = n div m blocks of m samples of v into
// medias (resized to k, a buffer reused between calls); returns their sum in index order.
// Requires m >= 1.
double MediasDeBloques(const Vector& v, std::uint32_t m, std::vector<double>& medias);
// The same for several levels m (each >= 1) at once: the means of level i into medias[i]
// and their sum into sumas[i] (both resized), the very values MediasDeBloques gives, bit for
// bit. The series is read once, a stretch at a time that stays in the processor's cache,
// for all the levels, rather than once per level from memory; progress is reported per
// stretch.
void MediasDeBloquesVarias(const Vector& v, const std::vector<std::uint32_t>& niveles,
                           std::vector<std::vector<double>>& medias, std::vector<double>& sumas);
// Series whose largest finite magnitude lies outside [2^-256, 2^256] would over- or
// underflow the sums of squares of the estimators. ExponenteDeEscala gives the binary
// exponent e of that magnitude for such a series (so that v·2^-e has its largest
// magnitude in [0.5, 1)) and 0 for every other series, which is used as it is.
int ExponenteDeEscala(const Vector& v);
// v·2^-e, element by element: exact in binary floating point.
Vector EscalarPotenciaDeDos(const Vector& v, int e);

// A statistic of a series of any finite magnitude, found on its scaled copy.
struct Estadistico {
  double valor = 0.0;
  // False when the true value is not a double: beyond the largest (valor is then ±inf) or
  // not zero but below the smallest positive one (valor is then 0).
  bool representable = true;
};
// The mean and the sample variance of v from escalada = v·2^-e (ExponenteDeEscala(v), with
// escalada = v when e = 0), whose sums neither overflow nor underflow, brought back by 2^e
// and 2^2e: right whenever the true value is a double, and the same bits as Media(v) and
// Varianza(v) wherever those neither overflow nor underflow.
Estadistico MediaDeEscalada(const Vector& escalada, int e);
Estadistico VarianzaDeEscalada(const Vector& escalada, int e);
// inicio, inicio + salto, ... not beyond fin. salto <= 0: error 13;
// inicio + salto > fin + 1: error 14.
Vector Rampa(std::int32_t inicio, std::int32_t salto, std::int32_t fin);
