#include "numeric/generador.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

#include "numeric/fft.h"
#include "numeric/progreso.h"

namespace {

// Largest embedding the transform takes (its lengths are 32-bit).
constexpr std::uint64_t kInmersionMaxima = std::numeric_limits<std::int32_t>::max();
// Largest number of samples N whose embedding TamanoInmersion(N) the transform takes:
// 1 + the largest 2^a·3^b·5^c not above kInmersionMaxima / 2.
constexpr std::uint64_t MuestrasInmersionMaximas() {
  const std::uint64_t limite = kInmersionMaxima / 2;
  std::uint64_t mejor = 1;
  for (std::uint64_t a = 1; a <= limite; a *= 2)
    for (std::uint64_t b = a; b <= limite; b *= 3)
      for (std::uint64_t c = b; c <= limite; c *= 5)
        if (c > mejor) mejor = c;
  return mejor + 1;
}
constexpr std::uint64_t kMuestrasInmersionMaximas = MuestrasInmersionMaximas();
// Samples a Vector holds at most.
constexpr std::uint64_t kLongitudMaxima = std::numeric_limits<std::uint32_t>::max();
// Smallest standard deviation: the smallest normal double, so that the samples keep their
// precision relative to it.
constexpr double kDesviacionMinima = std::numeric_limits<double>::min();
// Relative size below which a negative eigenvalue is rounding of the transform.
constexpr double kToleranciaAutovalor = 1e-12;

bool Finito(double x) { return std::isfinite(x); }

// Progress of a loop over `total` steps, reported (with the cancellation check) every 2^16.
inline void AvanceCada(std::uint64_t i, std::uint64_t total) {
  if ((i & 0xFFFF) == 0xFFFF) Avance(static_cast<double>(i) / static_cast<double>(total));
}

// Warm-up as a double, so that |φ| close to 1 shows as a huge value instead of wrapping.
double CalentamientoReal(double phi, double theta) {
  if (phi == 0.0 && theta == 0.0) return 0.0;
  if (phi == 0.0) return 1000.0;
  const double w = std::ceil(20.0 / -LogPortable(std::fabs(phi)));
  return w > 1000.0 ? w : 1000.0;
}

// Samples the embedding needs: n, or n plus the warm-up for FARIMA; 0 for white noise.
// Returns false when that number is beyond any embedding the transform takes.
bool MuestrasInmersion(const ParametrosGenerador& p, std::uint64_t& N) {
  N = 0;
  if (p.modelo == ModeloGenerador::Ruido) return true;
  double total = static_cast<double>(p.n);
  if (p.modelo == ModeloGenerador::Farima) total += CalentamientoReal(p.phi, p.theta);
  if (total > static_cast<double>(kInmersionMaxima)) return false;
  N = static_cast<std::uint64_t>(total);
  return true;
}

// Whether the samples seen so far can stand for a series: Ver() returns kGeneradorNoFinita
// at a sample that is not finite; at the end Estado() is kGeneradorConstante when every
// sample had the same value, else kGeneradorOk.
class Representable {
 public:
  int Ver(const double* x, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      if (!Finito(x[i])) return kGeneradorNoFinita;
      if (!vista_) {
        primera_ = x[i];
        vista_ = true;
      }
      distintas_ = distintas_ || x[i] != primera_;
    }
    return kGeneradorOk;
  }
  int Estado() const { return distintas_ ? kGeneradorOk : kGeneradorConstante; }

 private:
  bool vista_ = false, distintas_ = false;
  double primera_ = 0.0;
};

// The samples of the series in order, from the deviates (white noise) or from the
// embedding's output x(t) = re[t] − im[t] (FGN directly, FARIMA through its ARMA filter,
// whose warm-up is skipped). Siguientes(y, k) writes the next k samples into y.
class Muestras {
 public:
  Muestras(const ParametrosGenerador& p, std::uint64_t N, const double* re, const double* im)
      : p_(p), N_(N), re_(re), im_(im), normal_(p.semilla) {
    if (p.modelo != ModeloGenerador::Farima) return;
    W_ = N - p.n;
    // A large θ: the filter runs on Y·2^-e, exactly, so that θ·X does not overflow.
    int e = 0;
    if (std::fabs(p.theta) > 1.0) std::frexp(p.theta, &e);
    u_ = std::ldexp(1.0, -e);
    theta_ = p.theta * u_;
    escala_ = p.desviacion / std::sqrt(VarianzaFarima(p.d, p.phi, p.theta, e));
  }

  void Siguientes(double* y, std::size_t k) {
    switch (p_.modelo) {
      case ModeloGenerador::Ruido:
        for (std::size_t i = 0; i < k; ++i, ++t_) {
          y[i] = p_.media + p_.desviacion * normal_();
          AvanceCada(t_, p_.n);
        }
        break;
      case ModeloGenerador::Fgn:
        for (std::size_t i = 0; i < k; ++i, ++t_) {
          y[i] = p_.media + p_.desviacion * (re_[t_] - im_[t_]);
          AvanceCada(t_, p_.n);
        }
        break;
      case ModeloGenerador::Farima:
        for (std::size_t i = 0; i < k; ++t_) {
          const double x = re_[t_] - im_[t_];
          const double yt = p_.phi * previoY_ + x * u_ + theta_ * previoX_;
          previoY_ = yt;
          previoX_ = x;
          if (t_ >= W_) y[i++] = p_.media + escala_ * yt;
          AvanceCada(t_, N_);
        }
        break;
    }
  }

 private:
  const ParametrosGenerador& p_;
  std::uint64_t N_;
  const double* re_;
  const double* im_;
  NormalPortable normal_;
  std::uint64_t t_ = 0, W_ = 0;
  double u_ = 1.0, theta_ = 0.0, escala_ = 1.0;
  double previoY_ = 0.0, previoX_ = 0.0;
};

// The work arrays of the embedding of FGN and FARIMA (2m values; none for white noise),
// filled with its output by Preparar.
struct Trabajo {
  std::uint64_t N = 0, m = 0;
  std::unique_ptr<double[]> re, im;
};

// Validates, probes the memory (the work arrays plus `extra` samples) and, for FGN and
// FARIMA, runs steps 3 to 5 up to the embedding's output. Progress: the autocovariance,
// then the embedding (two transforms), up to `hasta`.
int Preparar(const ParametrosGenerador& p, std::uint64_t extra, double hasta, Trabajo& w) {
  const int estado = ValidarGenerador(p);
  if (estado != kGeneradorOk) return estado;
  MuestrasInmersion(p, w.N);
  w.m = w.N > 0 ? TamanoInmersion(w.N) : 0;
  const std::uint64_t bytes = (2 * w.m + extra) * sizeof(double);
  if (bytes > std::numeric_limits<std::size_t>::max()) return kGeneradorSinMemoria;
  // Probe with malloc: unlike new, it does not call the program's out-of-memory handler.
  void* prueba = std::malloc(static_cast<std::size_t>(bytes));
  if (!prueba) return kGeneradorSinMemoria;
  std::free(prueba);
  if (w.m == 0) return kGeneradorOk;

  const std::uint64_t M = w.m / 2;
  w.re = std::make_unique_for_overwrite<double[]>(w.m);
  w.im = std::make_unique_for_overwrite<double[]>(w.m);
  // The autocovariance goes into im, which the transform reads before it writes there.
  double* c = w.im.get();
  {
    TramoProgreso tramo(0.0, 0.15 * hasta);
    if (p.modelo == ModeloGenerador::Fgn) {
      for (std::uint64_t k = 0; k <= M; ++k) {
        c[k] = AutocovarianzaFgn(p.H, k);
        AvanceCada(k, M + 1);
      }
    } else {
      AutocorrelacionFarima(p.d, M + 1, c);
    }
  }
  TramoProgreso tramo(0.15 * hasta, hasta);
  NormalPortable normal(p.semilla);
  return InmersionCirculante(M, c, w.re.get(), w.im.get(), normal);
}

}  // namespace

std::string MensajeGenerador(int estado) {
  switch (estado) {
    case kGeneradorH: return "El parámetro H debe estar comprendido entre 0 y 1\n(sin incluirlos)";
    case kGeneradorLongitud: return "La longitud de la serie debe ser mayor o igual que 2";
    case kGeneradorD:
      return "El parámetro d debe estar comprendido entre -0.5 y 0.5\n(sin incluirlos)";
    case kGeneradorPhi:
      return "El coeficiente AR (φ) debe estar comprendido entre -1 y 1\n(sin incluirlos)";
    case kGeneradorTheta: return "El coeficiente MA (θ) debe ser un número finito";
    case kGeneradorMedia: return "La media debe ser un número finito";
    case kGeneradorDesviacion: return "La desviación típica debe ser mayor que 0";
    case kGeneradorDesviacionMinima:
      return "La desviación típica debe ser mayor o igual que 2.2250738585072014e-308\n"
             "(el menor número normal)";
    case kGeneradorNoFinita:
      return "La serie no puede representarse: con esta media y esta desviación típica\n"
             "alguna muestra no es un número finito";
    case kGeneradorConstante:
      return "La serie no puede representarse: la desviación típica es demasiado\n"
             "pequeña frente a la media y todas las muestras valen lo mismo";
    case kGeneradorDemasiadoLarga:
      return "La serie es demasiado larga para generarla\n"
             "(con un coeficiente AR próximo a 1 se añade además un\n"
             "calentamiento de longitud proporcional a 1/(1-|φ|))";
    case kGeneradorSinMemoria: return "No hay memoria suficiente para generar una serie tan larga";
    case kGeneradorAutovalorNegativo:
      return "La inmersión circulante de la autocovarianza tiene un autovalor\n"
             "negativo: la serie no puede generarse de forma exacta";
    default: return "";
  }
}

std::string MensajeGenerador(int estado, const ParametrosGenerador& p) {
  if (estado != kGeneradorDemasiadoLarga) return MensajeGenerador(estado);
  const std::uint64_t maxima = LongitudMaximaGenerador(p);
  const bool calentamiento =
      p.modelo == ModeloGenerador::Farima && CalentamientoReal(p.phi, p.theta) > 0.0;
  if (maxima < 2)
    return "La serie no puede generarse: el calentamiento del filtro ARMA, de\n"
           "longitud proporcional a 1/(1-|φ|), supera ya la longitud máxima";
  std::string texto = "La serie es demasiado larga para generarla:\n"
                      "la longitud máxima " +
                      std::string(calentamiento ? "con estos coeficientes" : "de este modelo") +
                      " es " + std::to_string(maxima);
  if (calentamiento)
    texto += "\n(el filtro ARMA añade un calentamiento de longitud\nproporcional a 1/(1-|φ|))";
  return texto;
}

std::uint64_t LongitudMaximaGenerador(const ParametrosGenerador& p) {
  if (p.modelo == ModeloGenerador::Ruido) return kLongitudMaxima;
  const double W = p.modelo == ModeloGenerador::Farima ? CalentamientoReal(p.phi, p.theta) : 0.0;
  if (!(W < static_cast<double>(kMuestrasInmersionMaximas))) return 0;
  const std::uint64_t n = kMuestrasInmersionMaximas - static_cast<std::uint64_t>(W);
  return n < kLongitudMaxima ? n : kLongitudMaxima;
}

int ValidarGenerador(const ParametrosGenerador& p) {
  switch (p.modelo) {
    case ModeloGenerador::Fgn:
      if (!(p.H > 0.0 && p.H < 1.0)) return kGeneradorH;
      break;
    case ModeloGenerador::Farima:
      if (!(std::fabs(p.d) < 0.5)) return kGeneradorD;
      if (!(std::fabs(p.phi) < 1.0)) return kGeneradorPhi;
      if (!Finito(p.theta)) return kGeneradorTheta;
      break;
    case ModeloGenerador::Ruido:
      break;
  }
  if (p.n < 2) return kGeneradorLongitud;
  if (!Finito(p.media)) return kGeneradorMedia;
  if (!(p.desviacion > 0.0 && Finito(p.desviacion))) return kGeneradorDesviacion;
  if (p.desviacion < kDesviacionMinima) return kGeneradorDesviacionMinima;
  if (p.n > std::numeric_limits<std::uint32_t>::max()) return kGeneradorDemasiadoLarga;
  std::uint64_t N = 0;
  if (!MuestrasInmersion(p, N)) return kGeneradorDemasiadoLarga;
  if (N > 0) {
    const std::uint64_t m = TamanoInmersion(N);
    if (m == 0 || m > kInmersionMaxima) return kGeneradorDemasiadoLarga;
  }
  return kGeneradorOk;
}

std::uint64_t MemoriaGenerador(const ParametrosGenerador& p) {
  if (ValidarGenerador(p) != kGeneradorOk) return 0;
  std::uint64_t N = 0;
  MuestrasInmersion(p, N);
  const std::uint64_t muestras = N > 0 ? 2 * TamanoInmersion(N) + p.n : p.n;
  return muestras * sizeof(double);
}

int GenerarSerie(const ParametrosGenerador& p, Vector& salida) {
  Trabajo w;
  const bool ruido = p.modelo == ModeloGenerador::Ruido;
  const int estado = Preparar(p, p.n, ruido ? 0.0 : 0.95, w);
  if (estado != kGeneradorOk) return estado;
  TramoProgreso tramo(ruido ? 0.0 : 0.95, 1.0);
  Vector serie(static_cast<std::uint32_t>(p.n));
  Muestras(p, w.N, w.re.get(), w.im.get()).Siguientes(serie.Datos(), serie.Longitud());
  Representable representable;
  int resultado = representable.Ver(serie.Datos(), serie.Longitud());
  if (resultado == kGeneradorOk) resultado = representable.Estado();
  if (resultado == kGeneradorOk) salida = std::move(serie);
  return resultado;
}

int GenerarSerieEnBloques(const ParametrosGenerador& p,
                          const std::function<bool(const double* x, std::size_t cuantas)>& entrega) {
  constexpr std::size_t kBloque = std::size_t{1} << 16;
  Trabajo w;
  const bool ruido = p.modelo == ModeloGenerador::Ruido;
  int estado = Preparar(p, kBloque, ruido ? 0.0 : 0.9, w);
  if (estado != kGeneradorOk) return estado;
  std::unique_ptr<double[]> bloque = std::make_unique_for_overwrite<double[]>(kBloque);
  // First every sample is checked, then they are computed again to be handed out.
  {
    TramoProgreso tramo(ruido ? 0.0 : 0.9, ruido ? 0.5 : 0.92);
    Muestras muestras(p, w.N, w.re.get(), w.im.get());
    Representable representable;
    for (std::uint64_t hecho = 0; hecho < p.n && estado == kGeneradorOk; hecho += kBloque) {
      const auto k = static_cast<std::size_t>(std::min<std::uint64_t>(kBloque, p.n - hecho));
      muestras.Siguientes(bloque.get(), k);
      estado = representable.Ver(bloque.get(), k);
    }
    if (estado == kGeneradorOk) estado = representable.Estado();
    if (estado != kGeneradorOk) return estado;
  }
  TramoProgreso tramo(ruido ? 0.5 : 0.92, 1.0);
  Muestras muestras(p, w.N, w.re.get(), w.im.get());
  for (std::uint64_t hecho = 0; hecho < p.n; hecho += kBloque) {
    const auto k = static_cast<std::size_t>(std::min<std::uint64_t>(kBloque, p.n - hecho));
    muestras.Siguientes(bloque.get(), k);
    if (!entrega(bloque.get(), k)) break;
  }
  return kGeneradorOk;
}

// ---- pieces of the recipe ----------------------------------------------------------------

int InmersionCirculante(std::uint64_t M, double* x, double* re, double* im,
                        NormalPortable& normal) {
  const std::uint64_t m = 2 * M;
  const auto longitud = static_cast<std::int32_t>(m);
  for (std::uint64_t j = 1; j < M; ++j) x[m - j] = x[j];
  double suma = 0.0;
  for (std::uint64_t j = 0; j < m; ++j) suma += std::fabs(x[j]);
  const double tolerancia = kToleranciaAutovalor * suma;

  // λ(k) = λ(m − k) into re, then the scale √(λ/m) in place for k = 0..M. Progress: each
  // transform takes about four tenths of the work, the deviates the rest.
  {
    TramoProgreso tramo(0.0, 0.4);
    FftPrecisa(longitud, x, re, im);
  }
  const double inversa = 1.0 / static_cast<double>(m);
  for (std::uint64_t k = 0; k <= M; ++k) {
    double lambda = re[k];
    if (lambda < 0.0) {
      if (lambda < -tolerancia) return kGeneradorAutovalorNegativo;
      lambda = 0.0;
    }
    re[k] = std::sqrt(lambda * inversa);
  }
  {
    TramoProgreso tramo(0.4, 0.6);
    for (std::uint64_t k = 0; k <= M; ++k) {
      x[k] = re[k] * normal();
      AvanceCada(k, m);
    }
    for (std::uint64_t k = M + 1; k < m; ++k) {
      x[k] = re[m - k] * normal();
      AvanceCada(k, m);
    }
  }
  TramoProgreso tramo(0.6, 1.0);
  FftPrecisa(longitud, x, re, im);
  return kGeneradorOk;
}


namespace {

// ln f for f in [√½, √2): 2·atanh(t), t = (f − 1)/(f + 1), |t| <= 0.1716, by its series to
// t^23 (the next term is below 1e-19 of the sum). Only fills LogPortable's table.
double LogSerie(double f) {
  static constexpr double kInversos[12] = {1.0,        1.0 / 3.0,  1.0 / 5.0,  1.0 / 7.0,
                                           1.0 / 9.0,  1.0 / 11.0, 1.0 / 13.0, 1.0 / 15.0,
                                           1.0 / 17.0, 1.0 / 19.0, 1.0 / 21.0, 1.0 / 23.0};
  const double t = (f - 1.0) / (f + 1.0);
  const double t2 = t * t;
  double suma = kInversos[11];
  for (int k = 10; k >= 0; --k) suma = suma * t2 + kInversos[k];
  return 2.0 * t * suma;
}

// ln c(i) for the 128 centres c(i) = 1 + (i + ½)/128 of [1, 2), with ln c = ln(c/2) + ln 2
// for the upper half so that the series argument stays in [√½, √2).
struct TablaLog {
  double ln[128];
  TablaLog() {
    constexpr double kLn2 = 0.69314718055994530942;
    for (int i = 0; i < 128; ++i) {
      const double c = 1.0 + (i + 0.5) / 128.0;
      ln[i] = c < 1.4142135623730951 ? LogSerie(c) : LogSerie(0.5 * c) + kLn2;
    }
  }
};

}  // namespace

double LogPortable(double x) {
  // x = f·2^e, f in [1, 2), from the bits; f = c·(1 + r) around the nearest table centre c,
  // ln f = ln c + 2·atanh(t), t = (f − c)/(f + c), |t| < 2^-9, to t^7.
  static const TablaLog tabla;
  constexpr double kLn2Alto = 0x1.62e42feep-1;  // ln 2 split: e·kLn2Alto is exact
  constexpr double kLn2Bajo = 0x1.a39ef35793c76p-33;
  int e = 0;
  auto bits = std::bit_cast<std::uint64_t>(x);
  if ((bits >> 52) == 0) {  // subnormal: scale into the normal range first
    bits = std::bit_cast<std::uint64_t>(x * 0x1p54);
    e = -54;
  }
  e += static_cast<int>(bits >> 52) - 1023;
  const double f = std::bit_cast<double>((bits & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL);
  const int i = static_cast<int>((bits >> 45) & 127);
  const double c = 1.0 + (i + 0.5) / 128.0;
  const double t = (f - c) / (f + c);
  const double t2 = t * t;
  const double serie = 2.0 * t * (1.0 + t2 * (1.0 / 3.0 + t2 * (0.2 + t2 * (1.0 / 7.0))));
  const double de = static_cast<double>(e);
  return de * kLn2Alto + (tabla.ln[i] + (de * kLn2Bajo + serie));
}

double NormalPortable::operator()() {
  if (hayGuardado_) {
    hayGuardado_ = false;
    return guardado_;
  }
  double u = 0.0, v = 0.0, s = 0.0;
  do {
    u = static_cast<double>(generador_() >> 11) * 0x1p-52 - 1.0;
    v = static_cast<double>(generador_() >> 11) * 0x1p-52 - 1.0;
    s = u * u + v * v;
  } while (s >= 1.0 || s == 0.0);
  const double f = std::sqrt(-2.0 * LogPortable(s) / s);
  guardado_ = v * f;
  hayGuardado_ = true;
  return u * f;
}

std::uint64_t LongitudSuave(std::uint64_t x) {
  if (x > (std::uint64_t{1} << 60)) return 0;
  if (x <= 1) return 1;
  std::uint64_t mejor = 0;
  for (std::uint64_t p5 = 1;; p5 *= 5) {
    for (std::uint64_t p35 = p5;; p35 *= 3) {
      std::uint64_t v = p35;
      while (v < x) v *= 2;
      if (mejor == 0 || v < mejor) mejor = v;
      if (p35 >= x) break;
    }
    if (p5 >= x) break;
  }
  return mejor;
}

std::uint64_t TamanoInmersion(std::uint64_t N) {
  const std::uint64_t M = LongitudSuave(N > 2 ? N - 1 : 1);
  return M == 0 ? 0 : 2 * M;
}

double AutocovarianzaFgn(double H, std::uint64_t k) {
  if (k == 0) return 1.0;
  const double a = 2.0 * H;
  if (k == 1) return std::expm1((a - 1.0) * 0.69314718055994530942);  // 2^{a−1} − 1
  // ½·k^a·[(1 + 1/k)^a − 2 + (1 − 1/k)^a] = k^a·Σ_{j>=1} C(a, 2j)·k^{−2j}: the terms fall at
  // least as fast as k^{−2j}, so 60 of them reach rounding level from k = 2 on.
  const double kk = static_cast<double>(k);
  const double x2 = 1.0 / (kk * kk);
  double termino = 0.5 * a * (a - 1.0) * x2;
  double suma = termino;
  for (int j = 1; j < 60 && termino != 0.0; ++j) {
    const double dj = 2.0 * j;
    termino *= (a - dj) * (a - dj - 1.0) / ((dj + 1.0) * (dj + 2.0)) * x2;
    suma += termino;
    if (std::fabs(termino) <= 1e-17 * std::fabs(suma)) break;
  }
  return std::pow(kk, a) * suma;
}

void AutocorrelacionFarima(double d, std::uint64_t cuenta, double* rho) {
  if (cuenta == 0) return;
  rho[0] = 1.0;
  for (std::uint64_t k = 1; k < cuenta; ++k) {
    const double kk = static_cast<double>(k);
    rho[k] = rho[k - 1] * (kk - 1.0 + d) / (kk - d);
  }
}

std::uint64_t CalentamientoFarima(double phi, double theta) {
  const double w = CalentamientoReal(phi, theta);
  return w < 1e18 ? static_cast<std::uint64_t>(w) : std::numeric_limits<std::uint64_t>::max();
}

double VarianzaFarima(double d, double phi, double theta, int escala) {
  // U = X/(1 − φB): γU(h) = Σ_l φ^|l|·ρ(h + l)/(1 − φ²). With T = Σ_{l>=0} φ^l·ρ(l + 1):
  // γU(0) = (1 + 2φT)/(1 − φ²), γU(1) = (T + φ(1 + φT))/(1 − φ²); Y = U + θ·U(−1).
  double T = 0.0, rho = 1.0, potencia = 1.0;
  for (std::uint64_t l = 0; potencia != 0.0; ++l) {
    const double kk = static_cast<double>(l + 1);
    rho *= (kk - 1.0 + d) / (kk - d);
    T += potencia * rho;
    potencia *= phi;
    if (std::fabs(potencia) < 1e-18) break;
  }
  const double q = 1.0 - phi * phi;
  const double g0 = (1.0 + 2.0 * phi * T) / q;
  const double g1 = (T + phi * (1.0 + phi * T)) / q;
  // Var(Y·u) with u = 2^-escala and the MA coefficient θ·u: exact scalings by powers of
  // two (u = 1 without escala).
  const double u = std::ldexp(1.0, -escala), t = theta * u;
  return (u * u + t * t) * g0 + 2.0 * t * u * g1;
}
