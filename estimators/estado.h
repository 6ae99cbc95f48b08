// Status codes returned by the estimators and the texts the driver shows for them.
#pragma once

#include <string>

// Codes 1..17 and 255 are the historical table; 18 onward refuse inputs for which an
// estimate would be meaningless (non-finite or undefined) instead of reporting garbage.
enum EstadoEstimador : int {
  kEstadoOk = 0,
  kEstadoSerieCorta = 1,
  kEstadoPocosPuntos = 2,
  kEstadoLongitudesDistintas = 3,
  kEstadoBloquesRS = 4,
  kEstadoPuntosDecada = 5,
  kEstadoMinMuestrasRS = 6,
  kEstadoMinD = 7,
  kEstadoMinMuestrasVarianza = 8,
  kEstadoMinM = 9,
  kEstadoPorcentaje = 10,
  kEstadoOrdenesFarima = 11,
  kEstadoFactorLocal = 12,
  kEstadoNivelAgregado = 13,
  kEstadoTiemposIdc = 14,
  kEstadoEscalaFinalIdc = 15,
  kEstadoBloquesTestT = 16,
  kEstadoSignificancia = 17,
  kEstadoSerieConstante = 18,        // every estimator: the series has a single value
  kEstadoBloqueSinVarianzaRS = 19,   // R/S: a block whose standard deviation is zero
  kEstadoNivelSinVarianza = 20,      // aggregated variance: a level with zero variance
  kEstadoDiferenciaNula = 21,        // differenced variance: two equal consecutive variances
  kEstadoIdcUno = 22,                // IDC exactly 1 at some scale (log of zero)
  kEstadoIdcMediaNoPositiva = 23,    // IDC undefined: mean count not positive
  kEstadoAjusteSingular = 24,        // fewer than two distinct abscissas in a fit
  kEstadoPeriodogramaNulo = 25,      // a zero periodogram ordinate among those used
  kEstadoResultadoNoFinito = 26,     // the estimate overflows (e.g. T0 of a nearly flat IDC fit)
  kEstadoAutocorrelacionConstante = 27,  // autocorrelation asked of a constant series (0/0)
  kEstadoErrorNumerico = 28,         // the numerical library reported a fault (its own text)
  // Wavelet estimator (Abry-Veitch)
  kEstadoMomentosOndicula = 29,      // vanishing moments N outside 1..10
  kEstadoOctavaInicial = 30,         // j1 < 1
  kEstadoOctavaFinal = 31,           // j2 != 0 and j2 < j1 + 2
  kEstadoPocasOctavas = 32,          // fewer than 3 octaves in [j1, j2]
  kEstadoEnergiaNula = 33,           // a detail energy mu_j = 0
  // DFA
  kEstadoOrdenDfa = 34,              // detrending order outside 1..3
  kEstadoCajaMinima = 35,            // smallest box < order + 2
  kEstadoPocasCajas = 36,            // fewer than 3 box sizes
  kEstadoFluctuacionNula = 37,       // F(s) = 0 for some size
  // Absolute moments
  kEstadoMomentoNulo = 38,           // AM(m) = 0 at some level
  // Higuchi
  kEstadoRetardoMaximo = 39,         // k_max != 0 and k_max < 10
  kEstadoPocosRetardos = 40,         // fewer than 3 lags
  kEstadoRetardoSinSegmentos = 41,   // a lag k >= n: no segment to measure
  kEstadoLongitudCurvaNula = 42,     // L(k) = 0 for some lag
  // GPH
  kEstadoExponenteGph = 43,          // bandwidth exponent outside 0.3..0.9
  // Whittle FARIMA
  kEstadoFarimaNoConverge = 44,      // the simplex did not converge, restart included
  kEstadoConversion = 45,            // an integer field does not hold an integer (its own text)
  kEstadoFarimaFueraDeRegion = 46,   // Whittle FARIMA: the minimum is not stationary and invertible
  // The series statistics of the report (mean, variance) that are not doubles
  kEstadoMediaNoRepresentable = 47,     // the mean is not zero but below the smallest double
  kEstadoVarianzaDesborda = 48,         // the variance is beyond the largest double
  kEstadoVarianzaSubdesborda = 49,      // the variance is not zero but below the smallest double
  kEstadoNingunaEstimacion = 50,        // the comparison: no method gave an estimate of H
  kEstadoConversionDecimal = 51,        // a decimal field holds no decimal number (its own text)
  kEstadoLongitudAutocorrelacion = 255,
};

// Text of the message box for a non-zero status ("" for codes without a message).
std::string MensajeEstado(int estado);
