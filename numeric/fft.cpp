#include "numeric/fft.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "numeric/constantes.h"
#include "numeric/paralelo.h"
#include "numeric/progreso.h"
#include "numeric/vectorial.h"

namespace {

// Butterfly constants (14 significant digits; they bound the accuracy at about 1e-14).
constexpr double c3_1 = -1.5;                // cos(2π/3) - 1
constexpr double c3_2 = 0.86602540378444;    // sin(2π/3)
constexpr double c5_1 = -1.25;               // (cos u + cos 2u)/2 - 1, u = 2π/5
constexpr double c5_2 = 0.55901699437495;    // (cos u - cos 2u)/2
constexpr double c5_3 = -0.95105651629515;   // -sin u
constexpr double c5_4 = -1.5388417685876;    // -(sin u + sin 2u)
constexpr double c5_5 = 0.36327126400268;    // sin u - sin 2u
constexpr double c8 = 0.70710678118655;      // 1/√2

// Data offsets whose twiddles are tabulated at once. Each group is then transformed for
// this many consecutive offsets, which walks memory in short contiguous runs instead of
// jumping a whole group stride per butterfly.
constexpr std::int32_t kBloque = 64;

// Points per piece of a pass or of the permutation when they are split over threads: large
// enough that starting a piece costs nothing, small enough that the threads share the work
// evenly. The split depends only on the lengths, so the result does not depend on the
// number of threads.
constexpr std::int64_t kPuntosPorPieza = 1 << 17;

// Per-thread work storage of a pass: the twiddles of one block of offsets and a contiguous
// copy of one group over that block.
struct Trabajo {
  double twRe[kBloque * kRadixMaximo];  // twiddle(k) of offset d at [k·kBloque + d - d0]
  double twIm[kBloque * kRadixMaximo];
  double bloqueRe[kBloque * kRadixMaximo];  // element b of offset d at [b·kBloque + d - d0]
  double bloqueIm[kBloque * kRadixMaximo];
};

thread_local Trabajo trabajo;

// ---- Butterflies on one block z(0..r-1) held in local arrays -------------------------

inline void Mariposa2(double* zr, double* zi) {
  const double r0 = zr[0], i0 = zi[0];
  zr[0] = r0 + zr[1];
  zi[0] = i0 + zi[1];
  zr[1] = r0 - zr[1];
  zi[1] = i0 - zi[1];
}

inline void Mariposa3(double* zr, double* zi) {
  const double tr = zr[1] + zr[2], ti = zi[1] + zi[2];
  zr[0] = zr[0] + tr;
  zi[0] = zi[0] + ti;
  const double sr = zr[0] + c3_1 * tr, si = zi[0] + c3_1 * ti;
  const double mr = c3_2 * (zi[1] - zi[2]), mi = c3_2 * (zr[2] - zr[1]);
  zr[1] = sr + mr;
  zi[1] = si + mi;
  zr[2] = sr - mr;
  zi[2] = si - mi;
}

// Radix 4 on z(k) = (zr[k·paso], zi[k·paso]), so the radix-8 butterfly can reuse it.
inline void Mariposa4(double* zr, double* zi, int paso = 1) {
  double& r0 = zr[0];
  double& i0 = zi[0];
  double& r1 = zr[paso];
  double& i1 = zi[paso];
  double& r2 = zr[2 * paso];
  double& i2 = zi[2 * paso];
  double& r3 = zr[3 * paso];
  double& i3 = zi[3 * paso];
  const double t1r = r0 + r2, t1i = i0 + i2;
  const double t2r = r1 + r3, t2i = i1 + i3;
  const double m2r = r0 - r2, m2i = i0 - i2;
  const double m3r = i1 - i3, m3i = r3 - r1;
  r0 = t1r + t2r;
  i0 = t1i + t2i;
  r2 = t1r - t2r;
  i2 = t1i - t2i;
  r1 = m2r + m3r;
  i1 = m2i + m3i;
  r3 = m2r - m3r;
  i3 = m2i - m3i;
}

// Radix 5 on z(0..4) given as five (real, imaginary) references.
inline void Mariposa5(double& z0r, double& z0i, double& z1r, double& z1i, double& z2r,
                      double& z2i, double& z3r, double& z3i, double& z4r, double& z4i) {
  const double t1r = z1r + z4r, t1i = z1i + z4i;
  const double t2r = z2r + z3r, t2i = z2i + z3i;
  const double t3r = z1r - z4r, t3i = z1i - z4i;
  const double t4r = z3r - z2r, t4i = z3i - z2i;
  const double t5r = t1r + t2r, t5i = t1i + t2i;
  z0r = z0r + t5r;
  z0i = z0i + t5i;
  const double m1r = c5_1 * t5r, m1i = c5_1 * t5i;
  const double m2r = c5_2 * (t1r - t2r), m2i = c5_2 * (t1i - t2i);
  const double m3r = -c5_3 * (t3i + t4i), m3i = c5_3 * (t3r + t4r);
  const double m4r = -c5_4 * t4i, m4i = c5_4 * t4r;
  const double m5r = -c5_5 * t3i, m5i = c5_5 * t3r;
  const double s3r = m3r - m4r, s3i = m3i - m4i;
  const double s5r = m3r + m5r, s5i = m3i + m5i;
  const double s1r = z0r + m1r, s1i = z0i + m1i;
  const double s2r = s1r + m2r, s2i = s1i + m2i;
  const double s4r = s1r - m2r, s4i = s1i - m2i;
  z1r = s2r + s3r;
  z1i = s2i + s3i;
  z2r = s4r + s5r;
  z2i = s4i + s5i;
  z3r = s4r - s5r;
  z3i = s4i - s5i;
  z4r = s2r - s3r;
  z4i = s2i - s3i;
}

inline void Mariposa5(double* zr, double* zi) {
  Mariposa5(zr[0], zi[0], zr[1], zi[1], zr[2], zi[2], zr[3], zi[3], zr[4], zi[4]);
}

inline void Mariposa8(double* zr, double* zi) {
  // a = (z0, z2, z4, z6) at even positions, b = (z1, z3, z5, z7) at odd ones.
  Mariposa4(zr, zi, 2);
  Mariposa4(zr + 1, zi + 1, 2);
  double ar[4], ai[4], br[4], bi[4];
  for (int k = 0; k < 4; ++k) {
    ar[k] = zr[2 * k];
    ai[k] = zi[2 * k];
    br[k] = zr[2 * k + 1];
    bi[k] = zi[2 * k + 1];
  }
  double x = br[1], y = bi[1];
  br[1] = c8 * (x + y);
  bi[1] = c8 * (y - x);
  x = br[2];
  y = bi[2];
  br[2] = y;
  bi[2] = -x;
  x = br[3];
  y = bi[3];
  br[3] = c8 * (y - x);
  bi[3] = -c8 * (x + y);
  for (int k = 0; k < 4; ++k) {
    zr[k] = ar[k] + br[k];
    zi[k] = ai[k] + bi[k];
    zr[k + 4] = ar[k] - br[k];
    zi[k + 4] = ai[k] - bi[k];
  }
}

inline void Mariposa10(double* zr, double* zi) {
  // Prime-factor split 2 × 5: a = (z0, z2, z4, z6, z8), b = (z5, z7, z9, z1, z3).
  double ar[5] = {zr[0], zr[2], zr[4], zr[6], zr[8]};
  double ai[5] = {zi[0], zi[2], zi[4], zi[6], zi[8]};
  double br[5] = {zr[5], zr[7], zr[9], zr[1], zr[3]};
  double bi[5] = {zi[5], zi[7], zi[9], zi[1], zi[3]};
  Mariposa5(ar, ai);
  Mariposa5(br, bi);
  zr[0] = ar[0] + br[0];
  zi[0] = ai[0] + bi[0];
  zr[5] = ar[0] - br[0];
  zi[5] = ai[0] - bi[0];
  zr[6] = ar[1] + br[1];
  zi[6] = ai[1] + bi[1];
  zr[1] = ar[1] - br[1];
  zi[1] = ai[1] - bi[1];
  zr[2] = ar[2] + br[2];
  zi[2] = ai[2] + bi[2];
  zr[7] = ar[2] - br[2];
  zi[7] = ai[2] - bi[2];
  zr[8] = ar[3] + br[3];
  zi[8] = ai[3] + bi[3];
  zr[3] = ar[3] - br[3];
  zi[3] = ai[3] - bi[3];
  zr[4] = ar[4] + br[4];
  zi[4] = ai[4] + bi[4];
  zr[9] = ar[4] - br[4];
  zi[9] = ai[4] - bi[4];
}

// Any odd radix r (a prime from 7 to 37, or 1), from the symmetric sums and differences
// of z(j) and z(r - j) and the unit roots of the radix.
inline void MariposaImpar(double* zr, double* zi, int r, const double* raizRe,
                          const double* raizIm) {
  const int h = (r + 1) / 2;
  double vr[kRadixMaximo / 2 + 1], vi[kRadixMaximo / 2 + 1];
  double wr[kRadixMaximo / 2 + 1], wi[kRadixMaximo / 2 + 1];
  for (int j = 1; j < h; ++j) {
    vr[j] = zr[j] + zr[r - j];
    vi[j] = zi[j] - zi[r - j];
    wr[j] = zr[j] - zr[r - j];
    wi[j] = zi[j] + zi[r - j];
  }
  const double z0r = zr[0], z0i = zi[0];
  for (int j = 1; j < h; ++j) {
    double ajr = z0r, aji = z0i;  // z(j)
    double bjr = z0r, bji = z0i;  // z(r - j)
    int k = j;
    for (int l = 1; l < h; ++l) {
      const double cr = raizRe[k], ci = raizIm[k];
      const double rere = cr * vr[l];
      const double imim = ci * vi[l];
      const double reim = cr * wi[l];
      const double imre = ci * wr[l];
      bjr += rere + imim;
      bji += reim - imre;
      ajr += rere - imim;
      aji += reim + imre;
      k += j;
      if (k >= r) k -= r;
    }
    zr[j] = ajr;
    zi[j] = aji;
    zr[r - j] = bjr;
    zi[r - j] = bji;
  }
  double sr = z0r, si = z0i;
  for (int j = 1; j < h; ++j) {
    sr += vr[j];
    si += wi[j];
  }
  zr[0] = sr;
  zi[0] = si;
}

template <int R>
inline void Mariposa(double* zr, double* zi, int r, const double* raizRe,
                     const double* raizIm) {
  if constexpr (R == 2) {
    Mariposa2(zr, zi);
  } else if constexpr (R == 3) {
    Mariposa3(zr, zi);
  } else if constexpr (R == 4) {
    Mariposa4(zr, zi);
  } else if constexpr (R == 5) {
    Mariposa5(zr, zi);
  } else if constexpr (R == 8) {
    Mariposa8(zr, zi);
  } else if constexpr (R == 10) {
    Mariposa10(zr, zi);
  } else {
    MariposaImpar(zr, zi, r, raizRe, raizIm);
  }
}

// Butterfly of offset d within a group whose element b sits at q[b·S]; the twiddles of
// the offset are tw[b·kBloque] (b >= 1) unless conTwiddle is false.
template <int Radix, bool conTwiddle>
inline void MariposaEnDatos(double* __restrict qr, double* __restrict qi, std::int64_t S, int r,
                            const double* __restrict twr, const double* __restrict twi,
                            const double* raizRe, const double* raizIm) {
  constexpr int kMax = Radix != 0 ? Radix : kRadixMaximo;
  const int rr = Radix != 0 ? Radix : r;
  double zr[kMax], zi[kMax];
  for (int b = 0; b < rr; ++b) {
    zr[b] = qr[b * S];
    zi[b] = qi[b * S];
  }
  if constexpr (conTwiddle) {
    for (int b = 1; b < rr; ++b) {
      const double x = zr[b], y = zi[b];
      const double cr = twr[b * kBloque], ci = twi[b * kBloque];
      zr[b] = x * cr - y * ci;
      zi[b] = x * ci + y * cr;
    }
  }
  Mariposa<Radix>(zr, zi, r, raizRe, raizIm);
  for (int b = 0; b < rr; ++b) {
    qr[b * S] = zr[b];
    qi[b * S] = zi[b];
  }
}

// Powers e^{-2πi·m/N}, 0 <= m < N, each from two directly evaluated tables (m = a·B + b):
// accurate to a few units in the last place at any N. Used by FftPrecisa.
class PotenciasRaiz {
 public:
  void Preparar(std::int64_t N) {
    N_ = N;
    B_ = static_cast<std::int64_t>(std::sqrt(static_cast<double>(N))) + 1;
    const std::int64_t altos = N / B_ + 1;
    bajoRe_.resize(B_);
    bajoIm_.resize(B_);
    altoRe_.resize(altos);
    altoIm_.resize(altos);
    for (std::int64_t b = 0; b < B_; ++b) {
      const double a = kDosPi * static_cast<double>(b) / static_cast<double>(N);
      bajoRe_[b] = std::cos(a);
      bajoIm_[b] = -std::sin(a);
    }
    for (std::int64_t h = 0; h < altos; ++h) {
      const double a = kDosPi * static_cast<double>(h * B_) / static_cast<double>(N);
      altoRe_[h] = std::cos(a);
      altoIm_[h] = -std::sin(a);
    }
  }
  void Potencia(std::int64_t m, double& re, double& im) const {
    m %= N_;
    const std::int64_t h = m / B_, b = m - h * B_;
    re = altoRe_[h] * bajoRe_[b] - altoIm_[h] * bajoIm_[b];
    im = altoRe_[h] * bajoIm_[b] + altoIm_[h] * bajoRe_[b];
  }

 private:
  std::int64_t N_ = 1, B_ = 1;
  std::vector<double> bajoRe_, bajoIm_, altoRe_, altoIm_;
};

// Constants of one pass shared by the threads that run it: the radix's unit roots, the
// twiddle step e^{-2πi/(S·r)}, the running twiddle at the start of every block of offsets
// (the recurrence tw = tw·step taken along all offsets in order, exactly as one thread
// would take it) and, for FftPrecisa, the table of directly evaluated powers.
struct DatosPasada {
  std::int32_t S, R;
  int r;
  double raizRe[kRadixMaximo];
  double raizIm[kRadixMaximo];
  double pasoRe = 1.0, pasoIm = 0.0;
  std::vector<double> inicioRe, inicioIm;  // twiddle of offset b·kBloque, b = 0..bloques-1
  PotenciasRaiz potencias;
};

template <bool Precisa>
void PrepararPasada(DatosPasada& p) {
  const int r = p.r;
  p.raizRe[0] = 1.0;
  p.raizIm[0] = 0.0;
  if constexpr (Precisa) {
    for (int k = 1; k < r; ++k) {
      const double a = kDosPi * k / r;
      p.raizRe[k] = std::cos(a);
      p.raizIm[k] = -std::sin(a);
    }
  } else {
    // Unit roots of the radix by complex recurrence from root(1) = e^{-2πi/r}.
    const double w = kDosPi / r;
    if (r > 1) {
      p.raizRe[1] = std::cos(w);
      p.raizIm[1] = -std::sin(w);
    }
    for (int k = 2; k < r; ++k) {
      p.raizRe[k] = p.raizRe[1] * p.raizRe[k - 1] - p.raizIm[1] * p.raizIm[k - 1];
      p.raizIm[k] = p.raizRe[1] * p.raizIm[k - 1] + p.raizIm[1] * p.raizRe[k - 1];
    }
  }
  if (p.S == 1) return;
  const std::int64_t salto = static_cast<std::int64_t>(p.S) * r;
  if constexpr (Precisa) {
    p.potencias.Preparar(salto);
  } else {
    // Twiddle step of this pass and the running twiddle at each block start.
    const double omega = kDosPi / (static_cast<double>(p.S) * r);
    p.pasoRe = std::cos(omega);
    p.pasoIm = -std::sin(omega);
    const std::int32_t bloques = (p.S + kBloque - 1) / kBloque;
    p.inicioRe.resize(bloques);
    p.inicioIm.resize(bloques);
    double twr = 1.0, twi = 0.0;
    for (std::int32_t d = 0; d < p.S; ++d) {
      if (d % kBloque == 0) {
        p.inicioRe[d / kBloque] = twr;
        p.inicioIm[d / kBloque] = twi;
      }
      const double nr = twr * p.pasoRe - twi * p.pasoIm;
      const double ni = twr * p.pasoIm + twi * p.pasoRe;
      twr = nr;
      twi = ni;
    }
  }
}

// Blocks of offsets [b0, b1) of groups [g0, g1) of one pass of radix r over n = S·r·R
// points held in (re, im), in place. Radix = 0 selects the general odd-radix butterfly
// with the run-time radix r. Precisa takes every twiddle from directly evaluated sines and
// cosines instead of the recurrences.
template <int Radix, bool Precisa>
void PasadaParcial(double* __restrict re, double* __restrict im, const DatosPasada& p,
                   std::int32_t b0, std::int32_t b1, std::int32_t g0, std::int32_t g1) {
  Trabajo& t = trabajo;
  const std::int32_t S = p.S;
  const int r = p.r;
  const std::int64_t salto = static_cast<std::int64_t>(S) * r;

  if (S == 1) {
    // First pass: no twiddles.
    for (std::int32_t g = g0; g < g1; ++g)
      MariposaEnDatos<Radix, false>(re + g * salto, im + g * salto, 1, r, nullptr, nullptr,
                                    p.raizRe, p.raizIm);
    return;
  }

  for (std::int32_t b = b0; b < b1; ++b) {
    const std::int32_t d0 = b * kBloque;
    const std::int32_t d1 = d0 + kBloque < S ? d0 + kBloque : S;
    if constexpr (Precisa) {
      // twiddle(k) of offset d is e^{-2πi·k·d/(S·r)}.
      for (std::int32_t d = d0; d < d1; ++d) {
        double* tr = t.twRe + (d - d0);
        double* ti = t.twIm + (d - d0);
        tr[0] = 1.0;
        ti[0] = 0.0;
        for (int k = 1; k < r; ++k)
          p.potencias.Potencia(static_cast<std::int64_t>(k) * d, tr[k * kBloque],
                               ti[k * kBloque]);
      }
    } else {
      // Twiddles of the offsets d0..d1-1, by the same recurrences as one offset at a time:
      // twiddle(k) = tw·twiddle(k - 1), then tw = tw·step. Stored as [k·kBloque + d - d0].
      double twr = p.inicioRe[b], twi = p.inicioIm[b];
      for (std::int32_t d = d0; d < d1; ++d) {
        double* tr = t.twRe + (d - d0);
        double* ti = t.twIm + (d - d0);
        tr[0] = 1.0;
        ti[0] = 0.0;
        if (r > 1) {
          tr[kBloque] = twr;
          ti[kBloque] = twi;
        }
        for (int k = 2; k < r; ++k) {
          tr[k * kBloque] = twr * tr[(k - 1) * kBloque] - twi * ti[(k - 1) * kBloque];
          ti[k * kBloque] = twr * ti[(k - 1) * kBloque] + twi * tr[(k - 1) * kBloque];
        }
        const double nr = twr * p.pasoRe - twi * p.pasoIm;
        const double ni = twr * p.pasoIm + twi * p.pasoRe;
        twr = nr;
        twi = ni;
      }
    }
    // Offset 0 has unit twiddles and is transformed without them.
    const std::int32_t desde = d0 == 0 ? 1 : d0;
    const std::int32_t ancho = d1 - d0;
    for (std::int32_t g = g0; g < g1; ++g) {
      double* __restrict pr = re + g * salto;
      double* __restrict pi = im + g * salto;
      if (ancho == kBloque) {
        // A full block of offsets goes through a contiguous copy: the r rows of a group lie
        // S apart, and with S a large power of two they would all compete for the same
        // cache sets.
        double* __restrict br = t.bloqueRe;
        double* __restrict bi = t.bloqueIm;
        for (int k = 0; k < r; ++k) {
          const double* __restrict fr = pr + static_cast<std::int64_t>(k) * S + d0;
          const double* __restrict fi = pi + static_cast<std::int64_t>(k) * S + d0;
          for (std::int32_t d = 0; d < kBloque; ++d) {
            br[k * kBloque + d] = fr[d];
            bi[k * kBloque + d] = fi[d];
          }
        }
        if (d0 == 0)
          MariposaEnDatos<Radix, false>(br, bi, kBloque, r, nullptr, nullptr, p.raizRe,
                                        p.raizIm);
        for (std::int32_t d = desde - d0; d < kBloque; ++d)
          MariposaEnDatos<Radix, true>(br + d, bi + d, kBloque, r, t.twRe + d, t.twIm + d,
                                       p.raizRe, p.raizIm);
        for (int k = 0; k < r; ++k) {
          double* __restrict fr = pr + static_cast<std::int64_t>(k) * S + d0;
          double* __restrict fi = pi + static_cast<std::int64_t>(k) * S + d0;
          for (std::int32_t d = 0; d < kBloque; ++d) {
            fr[d] = br[k * kBloque + d];
            fi[d] = bi[k * kBloque + d];
          }
        }
      } else {
        if (d0 == 0)
          MariposaEnDatos<Radix, false>(pr, pi, S, r, nullptr, nullptr, p.raizRe, p.raizIm);
        for (std::int32_t d = desde; d < d1; ++d)
          MariposaEnDatos<Radix, true>(pr + d, pi + d, S, r, t.twRe + (d - d0),
                                       t.twIm + (d - d0), p.raizRe, p.raizIm);
      }
    }
  }
}

// One pass of radix r over n = S·r·R points, cut into pieces of about kPuntosPorPieza
// points: along the blocks of offsets when there are enough of them, along the groups
// otherwise. The cut depends only on the lengths.
template <int Radix, bool Precisa>
void Pasada(double* re, double* im, std::int32_t S, int r, std::int32_t R) {
  DatosPasada p;
  p.S = S;
  p.r = r;
  p.R = R;
  PrepararPasada<Precisa>(p);
  const std::int64_t n = static_cast<std::int64_t>(S) * r * R;
  const std::int64_t piezas = std::max<std::int64_t>(1, n / kPuntosPorPieza);
  const std::int32_t bloques = S == 1 ? 1 : (S + kBloque - 1) / kBloque;
  if (bloques >= piezas) {
    const std::int64_t porPieza = (bloques + piezas - 1) / piezas;
    ParaCadaPieza(static_cast<std::size_t>((bloques + porPieza - 1) / porPieza),
                  [&](std::size_t i) {
                    const std::int64_t b0 = static_cast<std::int64_t>(i) * porPieza;
                    const std::int64_t b1 = std::min<std::int64_t>(bloques, b0 + porPieza);
                    PasadaParcial<Radix, Precisa>(re, im, p, static_cast<std::int32_t>(b0),
                                                  static_cast<std::int32_t>(b1), 0, R);
                  });
  } else {
    const std::int64_t porPieza = (R + piezas - 1) / piezas;
    ParaCadaPieza(static_cast<std::size_t>((R + porPieza - 1) / porPieza), [&](std::size_t i) {
      const std::int64_t g0 = static_cast<std::int64_t>(i) * porPieza;
      const std::int64_t g1 = std::min<std::int64_t>(R, g0 + porPieza);
      PasadaParcial<Radix, Precisa>(re, im, p, 0, bloques, static_cast<std::int32_t>(g0),
                                    static_cast<std::int32_t>(g1));
    });
  }
}

// Mixed-radix digit reversal of x into (re, im): with the digits c(1..F) of the output
// index i (c(1) varying fastest, radix f(j)), the sample read is k = Σ c(j)·remain(j).
// Literal walk: counters with carries, output in order. Intercalada: x holds n complex
// samples, the real part of sample k at x[2k] and its imaginary part at x[2k + 1], from
// both of which resta is subtracted as they are read.
template <bool Intercalada>
void PermutarEnOrden(std::int32_t n, const std::int32_t* f, const std::int32_t* remain,
                     const double* x, double* re, double* im, double resta) {
  // With the samples in im, im is cleared only after the walk has read them all.
  const bool entradaEnIm = !Intercalada && x == im;
  const auto leer = [&](std::int32_t i, std::int64_t k) {
    if constexpr (Intercalada) {
      re[i] = x[2 * k] - resta;
      im[i] = x[2 * k + 1] - resta;
    } else {
      re[i] = x[k];
      if (!entradaEnIm) im[i] = 0.0;
    }
  };
  int c[kMaxFactores + 2] = {};
  std::int64_t k = 0;
  for (std::int32_t i = 0; i < n - 1; ++i) {
    leer(i, k);
    int j = 1;
    k += remain[1];
    ++c[1];
    while (c[j] >= f[j]) {
      c[j] = 0;
      k = k - remain[j - 1] + remain[j + 1];
      ++j;
      ++c[j];
    }
  }
  leer(n - 1, n - 1);  // every digit at its largest
  if (entradaEnIm) std::fill(im, im + n, 0.0);
}

// Digits 1..t (low in i, high in k) and digits F-u+1..F (high in i, low in k), walked in
// tiles so that both the reads and the writes stay in short contiguous runs. Same mapping
// as PermutarEnOrden; used for long series, where the literal walk misses the cache on
// almost every read.
constexpr std::int32_t kTesela = 16;

template <bool Intercalada>
void Permutar(std::int32_t n, int F, const std::int32_t* f, const std::int32_t* remain,
              const double* x, double* re, double* im, double resta = 0.0) {
  // Leading digits with product A >= kTesela, trailing ones with product C >= kTesela.
  int t = 0;
  std::int32_t A = 1;
  while (t < F && A < kTesela) A *= f[++t];
  int u = 0;
  std::int32_t C = 1;
  while (t + u < F && C < kTesela) C *= f[F - u++];
  if (n < (1 << 16) || A < kTesela || C < kTesela) {
    PermutarEnOrden<Intercalada>(n, f, remain, x, re, im, resta);
    return;
  }
  // KL(iL) over the leading digits and KH(iH) over the trailing ones (A, C < 37·16).
  std::int32_t KL[kTesela * kRadixMaximo], KH[kTesela * kRadixMaximo];
  for (std::int32_t iL = 0; iL < A; ++iL) {
    std::int32_t resto = iL, k = 0;
    for (int j = 1; j <= t; ++j) {
      k += (resto % f[j]) * remain[j];
      resto /= f[j];
    }
    KL[iL] = k;
  }
  for (std::int32_t iH = 0; iH < C; ++iH) {
    std::int32_t resto = iH, k = 0;
    for (int j = F - u + 1; j <= F; ++j) {
      k += (resto % f[j]) * remain[j];
      resto /= f[j];
    }
    KH[iH] = k;
  }
  // With the samples in im, im is cleared only after every piece has read them.
  const bool entradaEnIm = !Intercalada && x == im;
  // Middle digits t+1..F-u: B values of iM, cut into pieces of consecutive values; within a
  // piece KM is kept by counters with carries from the digits of the piece's first iM.
  const std::int32_t B = n / A / C;
  const std::int64_t pasoH = static_cast<std::int64_t>(A) * B;
  const std::int32_t porPieza = static_cast<std::int32_t>(
      std::max<std::int64_t>(1, kPuntosPorPieza / (static_cast<std::int64_t>(A) * C)));
  ParaCadaPieza(NumeroDePiezas(B, porPieza), [&](std::size_t pieza) {
    const std::int32_t desde = static_cast<std::int32_t>(pieza) * porPieza;
    const std::int32_t hasta = std::min(B, desde + porPieza);
    int c[kMaxFactores + 2] = {};
    std::int32_t KM = 0;
    std::int32_t resto = desde;
    for (int j = t + 1; j <= F - u; ++j) {
      c[j] = resto % f[j];
      resto /= f[j];
      KM += c[j] * remain[j];
    }
    for (std::int32_t iM = desde; iM < hasta; ++iM) {
      const double* xm = x + (Intercalada ? 2 : 1) * static_cast<std::int64_t>(KM);
      double* rm = re + static_cast<std::int64_t>(A) * iM;
      double* im_ = im + static_cast<std::int64_t>(A) * iM;
      for (std::int32_t iH = 0; iH < C; ++iH) {
        double* rh = rm + iH * pasoH;
        double* ih = im_ + iH * pasoH;
        if constexpr (Intercalada) {
          const double* xh = xm + 2 * static_cast<std::int64_t>(KH[iH]);
          for (std::int32_t iL = 0; iL < A; ++iL) {
            rh[iL] = xh[2 * KL[iL]] - resta;
            ih[iL] = xh[2 * KL[iL] + 1] - resta;
          }
        } else {
          const double* xh = xm + KH[iH];
          for (std::int32_t iL = 0; iL < A; ++iL) {
            rh[iL] = xh[KL[iL]];
            if (!entradaEnIm) ih[iL] = 0.0;
          }
        }
      }
      // Next middle index.
      int j = t + 1;
      if (j <= F - u) {
        KM += remain[j];
        ++c[j];
        while (j < F - u && c[j] >= f[j]) {
          KM -= c[j] * remain[j];
          c[j] = 0;
          ++j;
          KM += remain[j];
          ++c[j];
        }
      }
    }
  });
  if (entradaEnIm) {
    ParaCadaPieza(NumeroDePiezas(n, kPuntosPorPieza), [&](std::size_t pieza) {
      const std::int64_t desde = static_cast<std::int64_t>(pieza) * kPuntosPorPieza;
      std::fill(im + desde, im + std::min<std::int64_t>(n, desde + kPuntosPorPieza), 0.0);
    });
  }
}

}  // namespace

ListaFactores FactorizarLongitud(std::int32_t n) {
  ListaFactores lista;
  if (n <= 1) {
    lista.factor[0] = 1;
    lista.cuenta = 1;
    return lista;
  }
  static constexpr std::int32_t kPreferidos[] = {10, 8, 5, 4, 3, 2};
  int actual = 0;
  while (n > 1 && actual < 6) {
    const std::int32_t radix = kPreferidos[actual];
    if (n % radix == 0) {
      lista.factor[lista.cuenta++] = radix;
      n /= radix;
    } else {
      ++actual;
    }
  }
  // 8·2 = 4·4: a final 2 and the nearest 8 before it both become 4.
  if (lista.cuenta > 0 && lista.factor[lista.cuenta - 1] == 2) {
    for (int i = lista.cuenta - 2; i >= 0; --i) {
      if (lista.factor[i] == 8) {
        lista.factor[i] = 4;
        lista.factor[lista.cuenta - 1] = 4;
        break;
      }
    }
  }
  if (n > 1) {
    for (std::int32_t k = 2; k < std::sqrt(static_cast<double>(n)) + 1; ++k) {
      while (n % k == 0) {
        lista.factor[lista.cuenta++] = k;
        n /= k;
      }
    }
    if (n > 1) lista.factor[lista.cuenta++] = n;
  }
  return lista;
}

std::int32_t LongitudTransformable(std::int32_t n) {
  if (n < 1) return 0;
  while (FactorizarLongitud(n).Ultimo() > kRadixMaximo) --n;
  return n;
}

namespace {

// Transform of exactly n points whose factor list is lista (every factor <= 37): of the real
// samples x(0..n-1), or with Intercalada of the complex ones (x(2k) − resta) + i·(x(2k + 1)
// − resta).
template <bool Precisa, bool Intercalada = false>
void Transformar(std::int32_t n, const ListaFactores& lista, const double* x, double* re,
                 double* im, double resta = 0.0) {
  const int F = lista.cuenta;
  std::int32_t f[kMaxFactores + 2];  // f[1..F]
  for (int i = 1; i <= F; ++i) f[i] = lista.factor[i - 1];
  f[F + 1] = 1;

  // sofar(i): product of the factors before i; remain(i): product of those after it.
  std::int32_t sofar[kMaxFactores + 2];
  std::int32_t remain[kMaxFactores + 2];
  sofar[1] = 1;
  for (int i = 2; i <= F; ++i) sofar[i] = sofar[i - 1] * f[i - 1];
  remain[0] = n;
  for (int i = 1; i <= F; ++i) remain[i] = remain[i - 1] / f[i];
  remain[F + 1] = 0;

  // Progress: the permutation and each pass count alike.
  const double partes = F + 1;
  {
    TramoProgreso tramo(0.0, 1.0 / partes);
    Permutar<Intercalada>(n, F, f, remain, x, re, im, resta);
  }

  for (int i = 1; i <= F; ++i) {
    TramoProgreso tramo(i / partes, (i + 1) / partes);
    const std::int32_t S = sofar[i], R = remain[i];
    const int r = f[i];
    switch (r) {
      case 1:
        break;
      case 2:
        Pasada<2, Precisa>(re, im, S, r, R);
        break;
      case 3:
        Pasada<3, Precisa>(re, im, S, r, R);
        break;
      case 4:
        Pasada<4, Precisa>(re, im, S, r, R);
        break;
      case 5:
        Pasada<5, Precisa>(re, im, S, r, R);
        break;
      case 8:
        Pasada<8, Precisa>(re, im, S, r, R);
        break;
      case 10:
        Pasada<10, Precisa>(re, im, S, r, R);
        break;
      default:
        Pasada<0, Precisa>(re, im, S, r, R);
        break;
    }
  }
}

}  // namespace

std::int32_t Fft(std::int32_t n, const double* x, double* re, double* im) {
  if (n < 1) return 0;
  ListaFactores lista = FactorizarLongitud(n);
  while (lista.Ultimo() > kRadixMaximo) lista = FactorizarLongitud(--n);
  Transformar<false>(n, lista, x, re, im);
  return n;
}

bool FftPrecisa(std::int32_t n, const double* x, double* re, double* im) {
  if (n < 1) return false;
  const ListaFactores lista = FactorizarLongitud(n);
  if (lista.Ultimo() > kRadixMaximo) return false;
  Transformar<true>(n, lista, x, re, im);
  return true;
}

namespace {

// Ordinates I(k + 1) = (im(k)² + re(k)²)/(2π·n') for k = desde..hasta-1, the squares as
// pow(x, 2.0) of the mathematical library gives them, written over re(k), computed in
// pieces on all threads.
void Ordenadas(double* re, const double* im, std::int32_t nPrima, std::uint32_t desde,
               std::uint32_t hasta) {
  const double divisor = 2.0 * static_cast<double>(nPrima) * kPi;
  constexpr std::uint32_t kPorPieza = 1 << 16;
  const std::uint32_t total = hasta - desde;
  ParaCadaPieza(NumeroDePiezas(total, kPorPieza), [&](std::size_t pieza) {
    const std::uint32_t a = desde + static_cast<std::uint32_t>(pieza) * kPorPieza;
    const std::uint32_t b = std::min(hasta, a + kPorPieza);
    SumaDeCuadrados(im + a, re + a, divisor, re + a, b - a);
  });
}

// The split of the M-point transform Z = re + i·im of z(j) = x(2j) + i·x(2j + 1) into the
// transform X of the N = 2M real samples x: with A = Z(k), B = conj Z(M − k),
// E = (A + B)/2, D = (A − B)/2 and W = e^{−2πi/N}, X(k) = E − i·W^k·D and
// X(M − k) = conj(E + i·W^k·D); X(0), X(M) = Re Z(0) ± Im Z(0). W^k is the product of a
// coarse and a fine table of directly evaluated sines and cosines, accurate to a few units
// of the last place at any length.
class SeparacionDeMitad {
 public:
  SeparacionDeMitad(const double* re, const double* im, std::int32_t M, std::int32_t hasta)
      : re_(re), im_(im), M_(M), finaC_(kFina), finaS_(kFina) {
    const double N = 2.0 * M;
    for (std::int32_t b = 0; b < kFina; ++b) {
      finaC_[b] = std::cos(kDosPi * b / N);
      finaS_[b] = std::sin(kDosPi * b / N);
    }
    const std::int32_t gruesas = (hasta >> kBitsFina) + 1;
    gruesaC_.resize(gruesas);
    gruesaS_.resize(gruesas);
    for (std::int32_t a = 0; a < gruesas; ++a) {
      const double angulo = kDosPi * (static_cast<double>(a) * kFina) / N;
      gruesaC_[a] = std::cos(angulo);
      gruesaS_[a] = std::sin(angulo);
    }
  }

  // 2·X(k) = (er − pr) + i·(ei − pi) and 2·conj X(M − k) = (er + pr) + i·(ei + pi), for
  // 1 <= k <= hasta, k < M; the values are read before the caller writes over them.
  void Par(std::int32_t k, double& er, double& ei, double& pr, double& pi) const {
    const std::int32_t a = k >> kBitsFina, b = k & (kFina - 1);
    const double c = gruesaC_[a] * finaC_[b] - gruesaS_[a] * finaS_[b];
    const double s = gruesaS_[a] * finaC_[b] + gruesaC_[a] * finaS_[b];
    const double ar = re_[k], ai = im_[k], br = re_[M_ - k], bi = -im_[M_ - k];
    er = ar + br;
    ei = ai + bi;
    const double dr = ar - br, di = ai - bi;
    // i·W^k·D with W^k = c − i·s.
    pr = s * dr - c * di;
    pi = c * dr + s * di;
  }

 private:
  static constexpr int kBitsFina = 10;
  static constexpr std::int32_t kFina = 1 << kBitsFina;
  const double* re_;
  const double* im_;
  std::int32_t M_;
  std::vector<double> finaC_, finaS_, gruesaC_, gruesaS_;
};

// Ordinates I(k + 1) = |X(k)|²/(2π·N), k = 0..M, of N = 2M real samples from the M-point
// transform (re, im) of SeparacionDeMitad, written over re(k) (re holds M + 1): each pair
// k, M − k (k <= M/2) comes from the same two values, computed in pieces on all threads.
void OrdenadasDeMitad(double* re, const double* im, std::int32_t M) {
  const double divisor = 8.0 * kPi * (2.0 * M);  // E and D are kept doubled
  const std::int32_t mitad = M / 2;
  const SeparacionDeMitad separacion(re, im, M, mitad);
  const double z0r = re[0], z0i = im[0];
  constexpr std::int32_t kPorPieza = 1 << 16;
  ParaCadaPieza(NumeroDePiezas(mitad, kPorPieza), [&](std::size_t pieza) {
    const std::int32_t desde = 1 + static_cast<std::int32_t>(pieza) * kPorPieza;
    const std::int32_t hasta = std::min(mitad, desde + kPorPieza - 1);
    for (std::int32_t k = desde; k <= hasta; ++k) {
      double er, ei, pr, pi;
      separacion.Par(k, er, ei, pr, pi);
      re[k] = ((er - pr) * (er - pr) + (ei - pi) * (ei - pi)) / divisor;
      re[M - k] = ((er + pr) * (er + pr) + (ei + pi) * (ei + pi)) / divisor;
    }
  });
  re[0] = (z0r + z0i) * (z0r + z0i) / (divisor / 4.0);
  re[M] = (z0r - z0i) * (z0r - z0i) / (divisor / 4.0);
}

// I(k + 1) at element k, k = 0..hasta (hasta >= 1), of an even n' = 2M: from the M-point
// transform of the samples paired as complex numbers, half the time and half the memory of
// the full one; its twiddles are evaluated directly, as in FftPrecisa, which costs no more
// at these lengths and keeps the error near 1e-14. Those above M repeat those below:
// I(k + 1) = I(n' − k + 1) for real samples.
Vector OrdenadasDeLongitudPar(const Vector& v, std::uint32_t hasta, std::int32_t np) {
  const std::int32_t M = np / 2;
  Vector re(std::max<std::uint32_t>(hasta, static_cast<std::uint32_t>(M)) + 1), im(M);
  {
    TramoProgreso tramo(0.0, 0.9);
    Transformar<true, true>(M, FactorizarLongitud(M), v.Datos(), re.Datos(), im.Datos());
  }
  TramoProgreso tramo(0.9, 1.0);
  OrdenadasDeMitad(re.Datos(), im.Datos(), M);
  im = Vector();
  double* I = re.Datos();
  for (std::uint32_t k = static_cast<std::uint32_t>(M) + 1; k <= hasta; ++k) I[k] = I[np - k];
  return re;
}

}  // namespace

bool PrimerosTerminosDeReal(std::int32_t n, const double* x, double resta, std::int32_t m,
                            double* re, double* im) {
  if (n < 2 || n % 2 != 0 || m < 1 || m > n / 2 + 1) return false;
  const std::int32_t M = n / 2;
  const ListaFactores lista = FactorizarLongitud(M);
  if (lista.Ultimo() > kRadixMaximo) return false;
  // Not cleared on allocation: the permutation, on all threads, writes them first.
  Vector zr(static_cast<std::uint32_t>(M)), zi(static_cast<std::uint32_t>(M));
  Transformar<true, true>(M, lista, x, zr.Datos(), zi.Datos(), resta);
  const std::int32_t hasta = std::min(m - 1, M - 1);
  const SeparacionDeMitad separacion(zr.Datos(), zi.Datos(), M, hasta);
  re[0] = zr(1) + zi(1);
  im[0] = 0.0;
  for (std::int32_t k = 1; k <= hasta; ++k) {
    double er, ei, pr, pi;
    separacion.Par(k, er, ei, pr, pi);
    re[k] = 0.5 * (er - pr);
    im[k] = 0.5 * (ei - pi);
  }
  if (m == M + 1) {
    re[M] = zr(1) - zi(1);
    im[M] = 0.0;
  }
  return true;
}

Vector CalcularPeriodograma(const Vector& v, std::uint32_t& nPrima) {
  const std::uint32_t n = v.Longitud();
  if (n >= 2) {
    const std::int32_t np = LongitudTransformable(static_cast<std::int32_t>(n));
    if (np % 2 == 0) {
      nPrima = static_cast<std::uint32_t>(np);
      Vector I = OrdenadasDeLongitudPar(v, nPrima - 1, np);
      I.Redimensionar(nPrima);
      return I;
    }
  }
  Vector re(n), im(n);
  const std::int32_t np = Fft(static_cast<std::int32_t>(n), v.Datos(), re.Datos(), im.Datos());
  nPrima = static_cast<std::uint32_t>(np);
  if (np < 1) return Vector();
  Ordenadas(re.Datos(), im.Datos(), np, 0, nPrima);
  re.Redimensionar(nPrima);
  return re;
}

namespace {
thread_local PeriodogramaCompartido* compartido = nullptr;
}  // namespace

PeriodogramaCompartido::PeriodogramaCompartido(const Vector* serie)
    : serie_(serie), anterior_(compartido) {
  compartido = this;
}
PeriodogramaCompartido::~PeriodogramaCompartido() { compartido = anterior_; }

namespace {

// The ordinates 1..m of v from a transform of its own.
Vector Transformar(const Vector& v, std::uint32_t m, std::int32_t np) {
  const std::uint32_t n = v.Longitud();
  if (np % 2 == 0) {
    Vector I = OrdenadasDeLongitudPar(v, m, np);
    I.QuedarseCon(2, m + 1);
    return I;
  }
  // The transform needs both halves; the ordinates go over re, which then keeps only them,
  // so that they take no memory of their own.
  Vector re(n), im(n);
  {
    TramoProgreso tramo(0.0, 0.9);
    Fft(static_cast<std::int32_t>(n), v.Datos(), re.Datos(), im.Datos());
  }
  TramoProgreso tramo(0.9, 1.0);
  Ordenadas(re.Datos(), im.Datos(), np, 1, m + 1);
  im = Vector();
  re.QuedarseCon(2, m + 1);
  return re;
}

// n' for the ordinates 1..m of v, which must be 1 <= m < n' (error 1 otherwise).
std::int32_t LongitudOrdenadas(const Vector& v, std::uint32_t m) {
  const std::int32_t np = LongitudTransformable(static_cast<std::int32_t>(v.Longitud()));
  if (m == 0 || m >= static_cast<std::uint32_t>(np)) ErrorEjecucion(kFalloSubvectorInvertido);
  return np;
}

}  // namespace

std::shared_ptr<const Vector> PeriodogramaCompartido::Guardadas(const Vector& v, std::uint32_t m,
                                                                std::int32_t np) {
  PeriodogramaCompartido* const c = compartido;
  if (!c || &v != c->serie_) return nullptr;
  // The ordinates are elementwise in the transform: those of a larger m start with these,
  // bit for bit.
  if (!c->ordenadas_ || c->ordenadas_->Longitud() < m)
    c->ordenadas_ = std::make_shared<const Vector>(
        Transformar(v, std::max(m, static_cast<std::uint32_t>((np - 1) / 2)), np));
  return c->ordenadas_;
}

Vector OrdenadasPeriodograma(const Vector& v, std::uint32_t m) {
  const std::int32_t np = LongitudOrdenadas(v, m);
  const std::shared_ptr<const Vector> guardadas = PeriodogramaCompartido::Guardadas(v, m, np);
  return guardadas ? guardadas->SubVector(1, m) : Transformar(v, m, np);
}

std::shared_ptr<const Vector> OrdenadasPeriodogramaSinCopia(const Vector& v, std::uint32_t m) {
  const std::int32_t np = LongitudOrdenadas(v, m);
  std::shared_ptr<const Vector> guardadas = PeriodogramaCompartido::Guardadas(v, m, np);
  return guardadas ? guardadas : std::make_shared<const Vector>(Transformar(v, m, np));
}
