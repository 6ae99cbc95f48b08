#include "numeric/vector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

#if defined(__has_include)
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

// ---------------------------------------------------------------------------------- Vector

namespace {

// A block of n doubles, default-initialised: new elements are undefined, as the callers
// expect, and large series are not written twice. A large block asks the system for 2 MiB
// pages under it (where they are granted on request), before anything is written to it: a
// long series then takes one page fault per 2 MiB instead of one per 4 KiB, and those
// faults would otherwise cost more than most passes over the samples.
double* NuevoBloque(std::uint32_t n) {
  if (n == 0) return nullptr;
  double* x = new double[n];
#ifdef MADV_HUGEPAGE
  constexpr std::size_t kGrande = std::size_t{1} << 19;  // 4 MiB of doubles
  if (n >= kGrande) {
    constexpr std::uintptr_t kPagina = std::uintptr_t{1} << 21;
    const auto desde = (reinterpret_cast<std::uintptr_t>(x) + kPagina - 1) & ~(kPagina - 1);
    const auto hasta = reinterpret_cast<std::uintptr_t>(x + n) & ~(kPagina - 1);
    if (hasta > desde) ::madvise(reinterpret_cast<void*>(desde), hasta - desde, MADV_HUGEPAGE);
  }
#endif
  return x;
}

std::mutex mutexRetenida;
int retenidas = 0;  // objects alive

}  // namespace

MemoriaRetenida::MemoriaRetenida() {
  const std::lock_guard<std::mutex> cerrojo(mutexRetenida);
  if (retenidas++ > 0) return;
#if defined(__GLIBC__)
  // Every block from the heap (none mapped on its own, which unmapping would give back),
  // and the heap never trimmed (−1: no threshold).
  ::mallopt(M_MMAP_MAX, 0);
  ::mallopt(M_TRIM_THRESHOLD, -1);
  // One heap for every thread: what a worker frees serves the next blocks of any other,
  // where a heap per thread would take fresh pages beside the free ones of the main heap.
  ::mallopt(M_ARENA_MAX, 1);
#endif
}

MemoriaRetenida::~MemoriaRetenida() {
  const std::lock_guard<std::mutex> cerrojo(mutexRetenida);
  if (--retenidas > 0) return;
#if defined(__GLIBC__)
  // The library's defaults again, and what is free goes back now.
  ::mallopt(M_MMAP_MAX, 65536);
  ::mallopt(M_TRIM_THRESHOLD, 128 * 1024);
  ::mallopt(M_ARENA_MAX, 0);  // 0: as many as the library's own rule gives
  ::malloc_trim(0);
#endif
}

void Vector::Reservar(std::uint32_t n) {
  n_ = n;
  capacidad_ = n;
  bloque_.reset(NuevoBloque(n));
  elementos_ = bloque_.get();
}

Vector::Vector(std::uint32_t n) { Reservar(n); }

Vector::Vector(std::uint32_t n, double s) {
  Reservar(n);
  std::fill(begin(), end(), s);
}

Vector::Vector(const Vector& otro) {
  Reservar(otro.n_);
  if (n_) std::memcpy(Datos(), otro.Datos(), sizeof(double) * n_);
}

Vector::Vector(Vector&& otro) noexcept
    : n_(otro.n_), capacidad_(otro.capacidad_), elementos_(otro.elementos_),
      bloque_(std::move(otro.bloque_)) {
  otro.n_ = otro.capacidad_ = 0;
  otro.elementos_ = nullptr;
}

Vector::Vector(const double* prestados, std::uint32_t n)
    : n_(n), capacidad_(n), elementos_(n ? const_cast<double*>(prestados) : nullptr) {}

Vector& Vector::operator=(const Vector& otro) {
  if (this == &otro) return *this;
  // A lent vector gets a block of its own rather than writing where it reads.
  if (otro.n_ != n_ || !bloque_) Reservar(otro.n_);
  if (n_) std::memcpy(Datos(), otro.Datos(), sizeof(double) * n_);
  return *this;
}

Vector& Vector::operator=(Vector&& otro) noexcept {
  if (this != &otro) {
    n_ = otro.n_;
    capacidad_ = otro.capacidad_;
    elementos_ = otro.elementos_;
    bloque_ = std::move(otro.bloque_);
    otro.n_ = otro.capacidad_ = 0;
    otro.elementos_ = nullptr;
  }
  return *this;
}

Vector& Vector::operator=(double s) {
  if (n_ == 0) Reservar(1);
  std::fill(begin(), end(), s);
  return *this;
}

Vector Vector::SubVector(std::uint32_t indice1, std::uint32_t indice2) const {
  if (indice2 < indice1) ErrorEjecucion(kFalloSubvectorInvertido);
  if (indice1 == 0 || indice2 > n_) ErrorEjecucion(kFalloIndiceVector);
  Vector r(indice2 - indice1 + 1);
  std::memcpy(r.Datos(), Datos() + (indice1 - 1), sizeof(double) * r.n_);
  return r;
}

void Vector::QuedarseCon(std::uint32_t indice1, std::uint32_t indice2) {
  if (indice2 < indice1) ErrorEjecucion(kFalloSubvectorInvertido);
  if (indice1 == 0 || indice2 > n_) ErrorEjecucion(kFalloIndiceVector);
  // A vector that can be cut owns its block: lent ones are only ever handed out const.
  const std::uint32_t m = indice2 - indice1 + 1;
  const std::uint32_t bloque = capacidad_;
  double* x = elementos_;
  if (indice1 > 1) std::memmove(x, x + (indice1 - 1), sizeof(double) * m);
  // The pages past the part read as zeros if touched again; growing reallocates, as the
  // capacity is the part's.
  n_ = capacidad_ = m;
#ifdef MADV_DONTNEED
  constexpr std::uintptr_t kPagina = 4096;
  const auto desde = (reinterpret_cast<std::uintptr_t>(x + m) + kPagina - 1) & ~(kPagina - 1);
  const auto hasta = reinterpret_cast<std::uintptr_t>(x + bloque) & ~(kPagina - 1);
  if (hasta > desde + (std::uintptr_t{1} << 21))
    ::madvise(reinterpret_cast<void*>(desde), hasta - desde, MADV_DONTNEED);
#endif
}

void Vector::Redimensionar(std::uint32_t m) {
  if (m == n_) return;
  if (m == 0) {
    Reservar(0);
    return;
  }
  if (m <= capacidad_) {
    n_ = m;
    return;
  }
  // Grow geometrically: the estimators extend their outputs one element at a time.
  std::uint32_t nueva = std::max<std::uint32_t>(m, capacidad_ + capacidad_ / 2);
  std::unique_ptr<double[]> bloque(NuevoBloque(nueva));
  if (n_) std::memcpy(bloque.get(), Datos(), sizeof(double) * n_);
  bloque_ = std::move(bloque);
  elementos_ = bloque_.get();
  n_ = m;
  capacidad_ = nueva;
}

#define FENWA_VECTOR_OPERADOR(op)                                          \
  Vector& Vector::operator op##=(const Vector& v) {                        \
    ComprobarLongitud(v);                                                  \
    double* a = Datos();                                                   \
    const double* b = v.Datos();                                           \
    for (std::uint32_t k = 0; k < n_; ++k) a[k] op## = b[k];               \
    return *this;                                                          \
  }                                                                        \
  Vector& Vector::operator op##=(double s) {                               \
    double* a = Datos();                                                   \
    for (std::uint32_t k = 0; k < n_; ++k) a[k] op## = s;                  \
    return *this;                                                          \
  }                                                                        \
  Vector operator op(const Vector& u, const Vector& v) {                   \
    Vector r(u);                                                           \
    r op## = v;                                                            \
    return r;                                                              \
  }                                                                        \
  Vector operator op(const Vector& v, double s) {                          \
    Vector r(v);                                                           \
    r op## = s;                                                            \
    return r;                                                              \
  }

FENWA_VECTOR_OPERADOR(+)
FENWA_VECTOR_OPERADOR(-)
FENWA_VECTOR_OPERADOR(*)
FENWA_VECTOR_OPERADOR(/)
#undef FENWA_VECTOR_OPERADOR

Vector operator+(double s, const Vector& v) { return v + s; }
Vector operator*(double s, const Vector& v) { return v * s; }
Vector operator-(double s, const Vector& v) {
  Vector r(v.Longitud());
  const double* a = v.Datos();
  double* b = r.Datos();
  for (std::uint32_t k = 0; k < v.Longitud(); ++k) b[k] = s - a[k];
  return r;
}

namespace {
template <class F>
Vector Aplicar(const Vector& v, F f) {
  Vector r(v.Longitud());
  const double* a = v.Datos();
  double* b = r.Datos();
  for (std::uint32_t k = 0; k < v.Longitud(); ++k) b[k] = f(a[k]);
  return r;
}
}  // namespace

Vector pow(const Vector& v, double s) {
  return Aplicar(v, [s](double x) { return std::pow(x, s); });
}
Vector fabs(const Vector& v) {
  return Aplicar(v, [](double x) { return std::fabs(x); });
}
Vector log(const Vector& v) {
  return Aplicar(v, [](double x) { return std::log(x); });
}
Vector log10(const Vector& v) {
  return Aplicar(v, [](double x) { return std::log10(x); });
}
Vector sin(const Vector& v) {
  return Aplicar(v, [](double x) { return std::sin(x); });
}
Vector cos(const Vector& v) {
  return Aplicar(v, [](double x) { return std::cos(x); });
}

// ---------------------------------------------------------------------------------- Matrix

Matrix::Matrix(std::uint32_t r, std::uint32_t c) {
  if (r == 0 || c == 0) return;
  filas_ = r;
  columnas_ = c;
  datos_.reset(new double[static_cast<std::size_t>(r) * c + 1]);
}

Matrix::Matrix(std::uint32_t r, std::uint32_t c, double s) : Matrix(r, c) {
  if (datos_) std::fill(datos_.get() + 1, datos_.get() + 1 + static_cast<std::size_t>(r) * c, s);
}

Matrix::Matrix(const Matrix& otra) : Matrix(otra.filas_, otra.columnas_) {
  if (datos_)
    std::memcpy(datos_.get() + 1, otra.datos_.get() + 1,
                sizeof(double) * static_cast<std::size_t>(filas_) * columnas_);
}

Matrix& Matrix::operator=(const Matrix& otra) {
  if (this == &otra) return *this;
  if (otra.filas_ != filas_ || otra.columnas_ != columnas_) {
    Matrix nueva(otra.filas_, otra.columnas_);
    *this = std::move(nueva);
  }
  if (datos_)
    std::memcpy(datos_.get() + 1, otra.datos_.get() + 1,
                sizeof(double) * static_cast<std::size_t>(filas_) * columnas_);
  return *this;
}

Vector Matrix::Fila(std::uint32_t i) const {
  if (i == 0 || i > filas_) ErrorEjecucion(kFalloFilaMatriz);
  Vector r(columnas_);
  for (std::uint32_t j = 1; j <= columnas_; ++j) r[j] = (*this)(i, j);
  return r;
}

Vector Matrix::Columna(std::uint32_t j) const {
  if (j == 0 || j > columnas_) ErrorEjecucion(kFalloColumnaMatriz);
  Vector r(filas_);
  for (std::uint32_t i = 1; i <= filas_; ++i) r[i] = (*this)(i, j);
  return r;
}

void Matrix::PonerFila(std::uint32_t i, const Vector& v) {
  if (i == 0 || i > filas_) ErrorEjecucion(kFalloFilaMatriz);
  for (std::uint32_t j = 1; j <= columnas_; ++j) (*this)(i, j) = v(j);
}

void Matrix::PonerColumna(std::uint32_t j, const Vector& v) {
  if (j == 0 || j > columnas_) ErrorEjecucion(kFalloColumnaMatriz);
  for (std::uint32_t i = 1; i <= filas_; ++i) (*this)(i, j) = v(i);
}

Matrix& Matrix::operator*=(double s) {
  const std::size_t total = static_cast<std::size_t>(filas_) * columnas_;
  for (std::size_t k = 1; k <= total; ++k) datos_[k] *= s;
  return *this;
}

Matrix operator*(const Matrix& m, double s) {
  Matrix r(m);
  r *= s;
  return r;
}

Matrix operator*(double s, const Matrix& m) { return m * s; }

Vector operator*(const Vector& v, const Matrix& m) {
  if (v.Longitud() != m.Filas()) ErrorEjecucion(kFalloProductoVectorMatriz);
  Vector r(m.Columnas());
  for (std::uint32_t j = 1; j <= m.Columnas(); ++j) {
    double suma = 0.0;
    for (std::uint32_t i = 1; i <= m.Filas(); ++i) suma += v(i) * m(i, j);
    r[j] = suma;
  }
  return r;
}

Matrix ProductoExterior(const Vector& u, const Vector& v) {
  Matrix r(u.Longitud(), v.Longitud());
  for (std::uint32_t j = 1; j <= v.Longitud(); ++j) r.PonerColumna(j, v(j) * u);
  return r;
}

namespace {
template <class F>
Matrix AplicarMatriz(const Matrix& m, F f) {
  Matrix r(m.Filas(), m.Columnas());
  for (std::uint32_t i = 1; i <= m.Filas(); ++i)
    for (std::uint32_t j = 1; j <= m.Columnas(); ++j) r(i, j) = f(m(i, j));
  return r;
}
}  // namespace

Matrix sin(const Matrix& m) {
  return AplicarMatriz(m, [](double x) { return std::sin(x); });
}
Matrix cos(const Matrix& m) {
  return AplicarMatriz(m, [](double x) { return std::cos(x); });
}
