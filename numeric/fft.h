// Discrete Fourier transform of real sequences and the periodogram built on it.
//
// The transform is a mixed-radix decimation-in-time FFT: a digit-reversal permutation,
// then one butterfly pass per factor of the length (radices 2, 3, 4, 5, 8, 10 and any odd
// prime up to 37). A length with a prime factor above 37 is shortened to the largest
// smaller length without one, and only that many leading samples are transformed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "numeric/vector.h"

// Largest radix the transform handles.
inline constexpr std::int32_t kRadixMaximo = 37;
// A length below 2^31 has at most 19 factors.
inline constexpr int kMaxFactores = 20;

// Radices of a length in the order the transform applies them.
struct ListaFactores {
  std::array<std::int32_t, kMaxFactores> factor{};  // factor[0..cuenta-1]
  int cuenta = 0;
  std::int32_t Ultimo() const { return factor[cuenta - 1]; }
};

// Factors n >= 1: radices 10, 8, 5, 4, 3, 2 from the largest (an 8 followed at the end by
// a 2 becomes 4·4), then trial division of what is left. n = 1 gives the list (1).
ListaFactores FactorizarLongitud(std::int32_t n);

// Length actually transformed for n samples: the largest n' <= n whose last factor is at
// most 37 (n itself when every prime factor of n is <= 37).
std::int32_t LongitudTransformable(std::int32_t n);

// Forward DFT of x[0..n-1] (n >= 1): returns n' (see LongitudTransformable) and leaves
// re[k] + i·im[k] = sum_j x[j]·e^{-2πi·jk/n'} for k = 0..n'-1, natural order, unscaled.
// re and im hold at least n doubles; entries from n' on are left untouched. x must not
// alias re; it may be im itself (the samples are read before im is overwritten), which
// saves a copy of a long series. Work tables are per thread, so concurrent calls are safe. Long
// transforms run on all threads (numeric/paralelo.h), cut by their lengths alone: the
// result is the same, bit for bit, with any number of threads.
std::int32_t Fft(std::int32_t n, const double* x, double* re, double* im);

// The same transform at exactly n points, for uses that need full accuracy at long
// lengths: every unit root and twiddle factor comes from directly evaluated sines and
// cosines instead of recurrences, so the error stays near 1e-14 of the largest magnitude
// (Fft's recurrences let it grow roughly in proportion to the length). Returns false and
// does nothing when n < 1 or n has a prime factor above 37. x may be im, as for Fft.
bool FftPrecisa(std::int32_t n, const double* x, double* re, double* im);

// Terms k = 0..m−1 of the transform of exactly n real samples x(t) − resta, with the
// accuracy of FftPrecisa, from the n/2-point transform of the samples paired as complex
// numbers (n doubles of work storage, not 2n). Returns false and does nothing unless n is
// even, every prime factor of n is <= 37 and 1 <= m <= n/2 + 1.
bool PrimerosTerminosDeReal(std::int32_t n, const double* x, double resta, std::int32_t m,
                            double* re, double* im);

// Periodogram I(k + 1) = |Y(k)|² / (2π·n') for k = 0..n'-1 of the samples of v
// (Longitud(v) >= 1); n' is returned in nPrima. An even n' = 2M takes the M-point transform
// of the samples paired as complex numbers, x(2j) + i·x(2j + 1), and separates the two
// halves' spectra: half the time and half the memory of the full transform, with the
// accuracy of FftPrecisa.
Vector CalcularPeriodograma(const Vector& v, std::uint32_t& nPrima);

// The ordinates of CalcularPeriodograma at the positive Fourier frequencies λ(1..m),
// I(2..m + 1), the same values bit for bit, with n' = LongitudTransformable(Longitud(v)).
// The estimators use these only; the rest of the transform is freed before the result is
// allocated. 1 <= m < n' (error 1 otherwise).
Vector OrdenadasPeriodograma(const Vector& v, std::uint32_t m);

// The same ordinates without a copy of them where the comparison keeps them (see
// PeriodogramaCompartido): a vector whose first m elements are I(2..m + 1), which may hold
// more, shared with the kept ones. Elsewhere a vector of its own of exactly m.
std::shared_ptr<const Vector> OrdenadasPeriodogramaSinCopia(const Vector& v, std::uint32_t m);

// While an object of this class lives, OrdenadasPeriodograma on its thread transforms the
// series it was given once: it keeps its ordinates (at least the (n' − 1)/2 of the Whittle
// estimators) and hands later requests of that very Vector, any m, the same values from
// them. Other series (an aggregated copy, a block) are transformed as usual. For callers
// that run several estimators on one series that does not change while the object lives
// (the comparison of methods). The innermost object applies.
class PeriodogramaCompartido {
 public:
  // An object that shares nothing (for a stretch where nothing is to be shared).
  PeriodogramaCompartido() : PeriodogramaCompartido(nullptr) {}
  explicit PeriodogramaCompartido(const Vector& serie) : PeriodogramaCompartido(&serie) {}
  ~PeriodogramaCompartido();
  PeriodogramaCompartido(const PeriodogramaCompartido&) = delete;
  PeriodogramaCompartido& operator=(const PeriodogramaCompartido&) = delete;


 private:
  friend Vector OrdenadasPeriodograma(const Vector& v, std::uint32_t m);
  friend std::shared_ptr<const Vector> OrdenadasPeriodogramaSinCopia(const Vector& v,
                                                                     std::uint32_t m);
  // The kept ordinates, at least m of them (transformed now when fewer are kept), when v is
  // the series of the innermost object; null otherwise.
  static std::shared_ptr<const Vector> Guardadas(const Vector& v, std::uint32_t m,
                                                 std::int32_t np);
  explicit PeriodogramaCompartido(const Vector* serie);

  const Vector* serie_;
  std::shared_ptr<const Vector> ordenadas_;  // those kept of serie_ (none yet when null)
  PeriodogramaCompartido* anterior_;
};
