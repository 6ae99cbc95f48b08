// Synthetic series with a known Hurst parameter: exact fractional Gaussian noise (FGN),
// FARIMA(p, d, q) with p, q in {0, 1}, and Gaussian white noise.
//
// Recipe (the same model, parameters, length and seed give the same series everywhere):
//
// 1. Random stream. std::mt19937_64 seeded with the 64-bit seed (its output sequence is
//    fixed by the C++ standard). Standard normal deviates come from NormalPortable, the
//    polar method of Marsaglia: draw u, then v, each (g >> 11)·2^-52 − 1 for the next
//    generator output g (a uniform in [−1, 1) on a grid of 2^-52); s = u² + v²; if s >= 1
//    or s = 0 draw both again; else f = √(−2·ln s / s) and the deviates are u·f, then v·f.
//    ln is LogPortable below (bit fields, a table filled by a fixed series, +, −, ×, ÷
//    only), and √ is correctly rounded by IEEE 754, so the deviates are the same bits on
//    every machine with IEEE double arithmetic (this file is compiled without fused
//    multiply-add).
// 2. White noise: sample i (i = 1..n) is media + desviacion·Z_i, Z_i the i-th deviate.
// 3. Circulant embedding (Davies–Harte) of a unit-variance autocovariance γ(0..N−1) for
//    N samples: M is the smallest number of the form 2^a·3^b·5^c with M >= max(N − 1, 1),
//    the embedding size is m = 2M (a length the FFT transforms at full speed), the
//    circulant's first row c(j) = γ(min(j, m − j)), j = 0..m−1, and its eigenvalues are
//    λ(k) = Re FftPrecisa(c)(k), k = 0..M. An eigenvalue below −1e-12·Σ|c(j)| is an error
//    (kGeneradorAutovalorNegativo, nothing generated); one between that and 0 is rounding
//    and becomes 0. Then with Z_0..Z_{m−1} the next m deviates, in order,
//    w(k) = √(λ(min(k, m − k))/m)·Z_k and x(j) = Σ_k w(k)·[cos(2πjk/m) + sin(2πjk/m)]
//    = Re W(j) − Im W(j), W = FftPrecisa(w). x(0..N−1) has covariance γ exactly: this is
//    the discrete Hartley transform of independent deviates, one real transform where the
//    usual complex form needs two.
// 4. FGN: N = n, γ(k) = ½(|k+1|^{2H} − 2|k|^{2H} + |k−1|^{2H}) (AutocovarianzaFgn);
//    sample j + 1 = media + desviacion·x(j).
// 5. FARIMA(p, d, q): X is FARIMA(0, d, 0) of unit variance by step 3 with
//    γ(k) = ρ(k) = ρ(k−1)·(k − 1 + d)/(k − d), ρ(0) = 1 (AutocorrelacionFarima). With
//    φ = θ = 0 that is the series (N = n, no warm-up). Otherwise N = n + W,
//    W = CalentamientoFarima(φ, θ) >= 1000, and Y(t) = φ·Y(t−1) + X(t) + θ·X(t−1) for
//    t = 0..N−1 with Y(−1) = X(−1) = 0; the first W values are discarded and sample
//    j + 1 = media + desviacion·Y(W + j)/√VarianzaFarima(d, φ, θ). For |θ| > 1 the filter
//    runs on Y·2^-e, 2^(e−1) <= |θ| < 2^e, which is exact and gives the same samples, so
//    that no finite θ overflows.
// 6. The standard deviation is always that of the series itself: for FGN and white noise
//    the process variance is 1 before scaling; for FARIMA the filtered series is divided
//    by its theoretical standard deviation (not the innovations' one).
//
// The random deviates are bit-identical everywhere; what follows them (powers, the
// transform's sines and cosines) uses the platform's mathematical library, so samples agree
// to rounding errors between different libraries and bit for bit with the same one. Sample
// files keep 6 significant digits, far above that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "numeric/vector.h"

enum class ModeloGenerador { Fgn, Farima, Ruido };

struct ParametrosGenerador {
  ModeloGenerador modelo = ModeloGenerador::Fgn;
  double H = 0.8;        // FGN: Hurst parameter in (0, 1)
  double d = 0.2;        // FARIMA: fractional difference in (−0.5, 0.5)
  double phi = 0.0;      // FARIMA: AR(1) coefficient, |φ| < 1 (0: p = 0)
  double theta = 0.0;    // FARIMA: MA(1) coefficient, any finite value (0: q = 0)
  double media = 0.0;
  double desviacion = 1.0;  // standard deviation of the series, >= 2^-1022
  std::uint64_t n = 1000;   // length, >= 2
  std::uint64_t semilla = 1;
};

enum EstadoGenerador : int {
  kGeneradorOk = 0,
  kGeneradorH = 1,                   // H outside (0, 1)
  kGeneradorLongitud = 2,            // n < 2
  kGeneradorD = 3,                   // |d| >= 0.5
  kGeneradorPhi = 4,                 // |φ| >= 1
  kGeneradorTheta = 5,               // θ not finite
  kGeneradorMedia = 6,               // mean not finite
  kGeneradorDesviacion = 7,          // standard deviation not positive and finite
  kGeneradorDemasiadoLarga = 8,      // embedding beyond the transform's largest length
  kGeneradorSinMemoria = 9,          // the work storage cannot be obtained
  kGeneradorAutovalorNegativo = 10,  // the circulant embedding is not non-negative
  kGeneradorDesviacionMinima = 11,   // 0 < standard deviation < 2^-1022 (not a normal number)
  kGeneradorNoFinita = 12,           // some sample overflows (not a finite number)
  kGeneradorConstante = 13,          // every sample rounds to the same value
};

// Spanish text of a non-zero status ("" for 0 and unknown codes).
std::string MensajeGenerador(int estado);
// The same, with the largest length of these parameters for kGeneradorDemasiadoLarga.
std::string MensajeGenerador(int estado, const ParametrosGenerador& p);

// The largest n that the other parameters allow (the embedding of FGN and FARIMA, the
// warm-up of FARIMA included, must fit the transform; a series holds at most 2^32 − 1
// samples); 0 when even the warm-up does not fit.
std::uint64_t LongitudMaximaGenerador(const ParametrosGenerador& p);

// Checks the parameters without allocating: kGeneradorOk or the first fault found.
int ValidarGenerador(const ParametrosGenerador& p);

// Generates the series of the recipe above into `salida` (n samples). A series that
// cannot be represented in doubles is refused: a sample that is not finite (media and
// desviacion too large), or every sample equal (desviacion too small beside media). On any
// non-zero status `salida` is left untouched. Reports its progress and stops with Cancelado
// at the next check after a cancellation request (numeric/progreso.h), `salida` untouched
// too. The memory needed (MemoriaGenerador) is first requested from malloc, which reports
// a failure instead of calling the program's out-of-memory handler, so a length the
// machine cannot hold is refused cleanly.
int GenerarSerie(const ParametrosGenerador& p, Vector& salida);

// The same series handed out in order, in blocks of at most 65,536 samples, to
// entrega(x, cuantas) as they are computed, without holding the series: the work arrays of
// the transform are all the memory it needs (16 bytes a point of the embedding, about 32
// a sample; none for white noise). Every sample is first computed once to be checked, so
// nothing is handed out unless the status is 0 (the statuses are GenerarSerie's). A false
// from entrega stops the generation; the status is still 0.
int GenerarSerieEnBloques(const ParametrosGenerador& p,
                          const std::function<bool(const double* x, std::size_t cuantas)>& entrega);

// Bytes GenerarSerie needs at its peak (the transform's two work arrays and the series);
// 0 when invalid.
std::uint64_t MemoriaGenerador(const ParametrosGenerador& p);

// ---- pieces of the recipe, exposed for the checks ---------------------------------------

// Natural logarithm of x > 0 (finite) with +, −, ×, ÷ and frexp only: within a few units in
// the last place and the same bits on every IEEE machine.
double LogPortable(double x);

// Standard normal deviates of step 1.
class NormalPortable {
 public:
  explicit NormalPortable(std::uint64_t semilla) : generador_(semilla) {}
  double operator()();

 private:
  std::mt19937_64 generador_;
  double guardado_ = 0.0;
  bool hayGuardado_ = false;
};

// Step 3 for m = 2M (M <= 2^30 − 1): x holds c(0..M) on entry, re and im are work arrays
// of m values. Draws the next m deviates of `normal` and leaves x(j) = re[j] − im[j], with
// the covariance of the circulant, for j < m; or returns kGeneradorAutovalorNegativo (no
// deviates drawn: every eigenvalue is checked before the first draw).
int InmersionCirculante(std::uint64_t M, double* x, double* re, double* im,
                        NormalPortable& normal);

// Smallest 2^a·3^b·5^c >= x (x >= 1); 0 when x is above 2^60.
std::uint64_t LongitudSuave(std::uint64_t x);
// Embedding size m = 2·LongitudSuave(max(N − 1, 1)) for N samples.
std::uint64_t TamanoInmersion(std::uint64_t N);

// Unit-variance FGN autocovariance at lag k, accurate to rounding at every lag: a series in
// 1/k replaces the second difference of k^{2H}, which cancels catastrophically at long lags.
double AutocovarianzaFgn(double H, std::uint64_t k);
// ρ(0..cuenta−1) of FARIMA(0, d, 0) into rho.
void AutocorrelacionFarima(double d, std::uint64_t cuenta, double* rho);
// Warm-up of the ARMA filter: max(1000, ⌈20/(−ln|φ|)⌉) when φ or θ is non-zero (the start-up
// transient then decays below e^{−20} ≈ 2e-9), 0 for FARIMA(0, d, 0).
std::uint64_t CalentamientoFarima(double phi, double theta);
// Variance of Y = (1 + θB)/(1 − φB)·X for X FARIMA(0, d, 0) of unit variance; with
// escala, that of Y·2^-escala (the filter of a large θ runs scaled so as not to overflow).
double VarianzaFarima(double d, double phi, double theta, int escala = 0);
