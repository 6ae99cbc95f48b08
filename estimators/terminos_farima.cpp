// Compiled once per instruction set by hwy/foreach_target.h, which includes this file again
// for each; the dispatching function at the end is compiled once.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "estimators/terminos_farima.cpp"
// clang-format off
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
// clang-format on

#include "estimators/terminos_farima.h"

#include <cstddef>

HWY_BEFORE_NAMESPACE();
namespace terminos_farima {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// No operation is fused with another: hn::Mul and hn::Add round each result, and this file
// is compiled without contraction into fused multiply-adds.
void TerminosFarima(int p, int q, double phi, double psi, const double* c, const double* s,
                    const double* I, double* t, std::size_t n) {
  const hn::ScalableTag<double> d;
  const std::size_t N = hn::Lanes(d);
  const auto uno = hn::Set(d, 1.0);
  const auto vPhi = hn::Set(d, phi);
  const auto vPsi = hn::Set(d, psi);
  // |1 + coef·e^{iλ}|² as (1 + R)² + S².
  const auto modulo = [&](auto coef, auto vc, auto vs) {
    const auto R = hn::Mul(coef, vc);
    const auto S = hn::Mul(coef, vs);
    const auto unoMasR = hn::Add(uno, R);
    return hn::Add(hn::Mul(unoMasR, unoMasR), hn::Mul(S, S));
  };
  const auto termino = [&](auto vc, auto vs, auto vI, auto g) {
    const auto A = p > 0 ? modulo(vPhi, vc, vs) : uno;
    const auto B = q > 0 ? modulo(vPsi, vc, vs) : uno;
    return hn::Div(vI, hn::Mul(hn::Div(B, A), g));
  };
  const bool senos = p > 0 || q > 0;
  std::size_t i = 0;
  for (; i + N <= n; i += N) {
    const auto vc = senos ? hn::LoadU(d, c + i) : uno;
    const auto vs = senos ? hn::LoadU(d, s + i) : uno;
    hn::StoreU(termino(vc, vs, hn::LoadU(d, I + i), hn::LoadU(d, t + i)), d, t + i);
  }
  if (i < n) {
    // The last, partial vector through padded copies.
    constexpr std::size_t kMaximo = HWY_MAX_BYTES / sizeof(double);
    HWY_ALIGN double bc[kMaximo], bs[kMaximo], bI[kMaximo], bt[kMaximo];
    for (std::size_t k = 0; k < N; ++k) {
      const bool dentro = i + k < n;
      bc[k] = dentro && senos ? c[i + k] : 1.0;
      bs[k] = dentro && senos ? s[i + k] : 1.0;
      bI[k] = dentro ? I[i + k] : 1.0;
      bt[k] = dentro ? t[i + k] : 1.0;
    }
    hn::Store(termino(hn::Load(d, bc), hn::Load(d, bs), hn::Load(d, bI), hn::Load(d, bt)), d, bt);
    for (std::size_t k = 0; i + k < n; ++k) t[i + k] = bt[k];
  }
}

}  // namespace HWY_NAMESPACE
}  // namespace terminos_farima
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace terminos_farima {
HWY_EXPORT(TerminosFarima);
}  // namespace terminos_farima

void TerminosFarima(int p, int q, double phi, double psi, const double* c, const double* s,
                    const double* I, double* t, std::size_t n) {
  HWY_DYNAMIC_DISPATCH(terminos_farima::TerminosFarima)(p, q, phi, psi, c, s, I, t, n);
}
#endif
