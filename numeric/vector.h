// numeric/: the numerical library under everything else (standard library only).
//
// 1-based vectors and matrices of doubles with value semantics and checked access.
#pragma once

#include <cstdint>
#include <memory>

#include "numeric/error.h"

class Vector {
 public:
  explicit Vector(std::uint32_t n = 0);
  Vector(std::uint32_t n, double s);
  Vector(const Vector& otro);
  Vector(Vector&& otro) noexcept;
  Vector& operator=(const Vector& otro);
  Vector& operator=(Vector&& otro) noexcept;
  // Every element becomes s; an empty vector first becomes a vector of length 1.
  Vector& operator=(double s);
  ~Vector() = default;

  std::uint32_t Longitud() const { return n_; }

  // Checked element read and reference, 1 <= i <= n (error 0 otherwise).
  double operator()(std::uint32_t i) const {
    if (i == 0 || i > n_) ErrorEjecucion(kFalloIndiceVector);
    return elementos_[i - 1];
  }
  double& operator[](std::uint32_t i) {
    if (i == 0 || i > n_) ErrorEjecucion(kFalloIndiceVector);
    return elementos_[i - 1];
  }
  const double& operator[](std::uint32_t i) const {
    if (i == 0 || i > n_) ErrorEjecucion(kFalloIndiceVector);
    return elementos_[i - 1];
  }

  // Unchecked contiguous access for inner loops: Datos()[k] is element k + 1.
  double* Datos() { return n_ ? elementos_ : nullptr; }
  const double* Datos() const { return n_ ? elementos_ : nullptr; }
  double* begin() { return Datos(); }
  double* end() { return Datos() + n_; }
  const double* begin() const { return Datos(); }
  const double* end() const { return Datos() + n_; }

  // Elements indice1..indice2 inclusive; indice2 < indice1 is error 1.
  Vector SubVector(std::uint32_t indice1, std::uint32_t indice2) const;
  // New length m keeping the first min(n, m) elements; added elements undefined.
  void Redimensionar(std::uint32_t m);
  // Becomes its own elements indice1..indice2 inclusive (errors as SubVector), moved to the
  // front of the same block instead of copied to a new one: a long vector cut down to a part
  // takes no new memory, and the whole pages after the part go back to the system, so that
  // it then holds only the part's.
  void QuedarseCon(std::uint32_t indice1, std::uint32_t indice2);

  Vector& operator+=(const Vector& v);
  Vector& operator-=(const Vector& v);
  Vector& operator*=(const Vector& v);
  Vector& operator/=(const Vector& v);
  Vector& operator+=(double s);
  Vector& operator-=(double s);
  Vector& operator*=(double s);
  Vector& operator/=(double s);

 private:
  void Reservar(std::uint32_t n);  // fresh block for n elements (none when n = 0)
  void ComprobarLongitud(const Vector& v) const {
    if (v.n_ != n_) ErrorEjecucion(kFalloLongitudesDistintas);
  }
  friend class VectorPrestado;
  Vector(const double* prestados, std::uint32_t n);  // reads them where they are

  std::uint32_t n_ = 0;
  std::uint32_t capacidad_ = 0;       // elements the block can hold
  double* elementos_ = nullptr;       // element 1: in the own block, or lent (Prestado)
  std::unique_ptr<double[]> bloque_;  // the own block; empty for a lent vector
};

// A vector that reads n elements held elsewhere, without copying them: for a caller that
// keeps a series in memory of its own (the Python module's arrays). The elements must
// outlive this object. They are never written through it: the vector is only handed out
// const, and its copies own their elements, as any other.
class VectorPrestado {
 public:
  VectorPrestado(const double* datos, std::uint32_t n) : v_(datos, n) {}
  VectorPrestado(const VectorPrestado&) = delete;
  VectorPrestado& operator=(const VectorPrestado&) = delete;
  const Vector& Vista() const { return v_; }

 private:
  Vector v_;
};

// While an object of this class lives (on any thread), the memory the process frees stays
// with it for its next large blocks instead of going back to the system: a block handed out
// again by the system comes as fresh pages it must clear first, and for a long series that
// clearing costs more than most passes over the samples. When the last object ends, the
// free memory goes back. For a process that ends with its work (fenwa-cli), whose
// estimators allocate and free blocks the size of the series one after another. Threads
// that start while it lives take their blocks from the same heap. Where the C library
// offers no such setting, it does nothing.
class MemoriaRetenida {
 public:
  MemoriaRetenida();
  ~MemoriaRetenida();
  MemoriaRetenida(const MemoriaRetenida&) = delete;
  MemoriaRetenida& operator=(const MemoriaRetenida&) = delete;
};

Vector operator+(const Vector& u, const Vector& v);
Vector operator-(const Vector& u, const Vector& v);
Vector operator*(const Vector& u, const Vector& v);
Vector operator/(const Vector& u, const Vector& v);
Vector operator+(const Vector& v, double s);
Vector operator-(const Vector& v, double s);
Vector operator*(const Vector& v, double s);
Vector operator/(const Vector& v, double s);
Vector operator+(double s, const Vector& v);
Vector operator*(double s, const Vector& v);
Vector operator-(double s, const Vector& v);

Vector pow(const Vector& v, double s);
Vector fabs(const Vector& v);
Vector log(const Vector& v);
Vector log10(const Vector& v);
Vector sin(const Vector& v);
Vector cos(const Vector& v);

class Matrix {
 public:
  Matrix() = default;
  Matrix(std::uint32_t r, std::uint32_t c);
  Matrix(std::uint32_t r, std::uint32_t c, double s);
  Matrix(const Matrix& otra);
  Matrix(Matrix&& otra) noexcept = default;
  Matrix& operator=(const Matrix& otra);
  Matrix& operator=(Matrix&& otra) noexcept = default;
  ~Matrix() = default;

  std::uint32_t Filas() const { return filas_; }
  std::uint32_t Columnas() const { return columnas_; }

  // Checked element read and reference (error 3 outside the shape).
  double operator()(std::uint32_t i, std::uint32_t j) const {
    Comprobar(i, j);
    return datos_[static_cast<std::size_t>(i - 1) * columnas_ + j];
  }
  double& operator()(std::uint32_t i, std::uint32_t j) {
    Comprobar(i, j);
    return datos_[static_cast<std::size_t>(i - 1) * columnas_ + j];
  }

  Vector Fila(std::uint32_t i) const;
  Vector Columna(std::uint32_t j) const;
  void PonerFila(std::uint32_t i, const Vector& v);
  void PonerColumna(std::uint32_t j, const Vector& v);

  Matrix& operator*=(double s);

 private:
  void Comprobar(std::uint32_t i, std::uint32_t j) const {
    if (i == 0 || i > filas_ || j == 0 || j > columnas_) ErrorEjecucion(kFalloIndiceMatriz);
  }

  std::uint32_t filas_ = 0;
  std::uint32_t columnas_ = 0;
  std::unique_ptr<double[]> datos_;  // rows one after another, slot 0 unused
};

Matrix operator*(const Matrix& m, double s);
Matrix operator*(double s, const Matrix& m);
// Row vector times matrix; Longitud(v) != Filas() is error 6.
Vector operator*(const Vector& v, const Matrix& m);
// Matrix Longitud(u) x Longitud(v) with element (i, j) = u(i) * v(j).
Matrix ProductoExterior(const Vector& u, const Vector& v);
Matrix sin(const Matrix& m);
Matrix cos(const Matrix& m);
