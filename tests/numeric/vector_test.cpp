#include <gtest/gtest.h>

#include "numeric/vector.h"
#include "support/error_numerico.h"

namespace {

TEST(Vector, ConstruccionYAsignacion) {
  Vector v(3, 1.5);
  EXPECT_EQ(v.Longitud(), 3u);
  EXPECT_EQ(v(3), 1.5);
  Vector vacio;
  vacio = 2.5;
  ASSERT_EQ(vacio.Longitud(), 1u);
  EXPECT_EQ(vacio(1), 2.5);
  Vector& ref = v;
  v = ref;
  EXPECT_EQ(v.Longitud(), 3u);
  v = Vector();
  EXPECT_EQ(v.Longitud(), 0u);
}

TEST(Vector, CopiaProfunda) {
  Vector a(2, 1.0);
  Vector b(a);
  b[1] = 5.0;
  EXPECT_EQ(a(1), 1.0);
}

// A lent vector reads the caller's memory in place; its copies, copy assignments from it
// and their growth take blocks of their own, so the caller's memory is never written.
TEST(Vector, PrestadoLeeSinCopiarYSusCopiasSonPropias) {
  double datos[3] = {1.0, 2.0, 3.0};
  const VectorPrestado prestado(datos, 3);
  const Vector& vista = prestado.Vista();
  EXPECT_EQ(vista.Datos(), datos);
  EXPECT_EQ(vista(3), 3.0);
  Vector copia(vista);
  EXPECT_NE(copia.Datos(), datos);
  copia[1] = 9.0;
  Vector asignada(3, 0.0);
  asignada = vista;
  EXPECT_NE(asignada.Datos(), datos);
  asignada.Redimensionar(5);
  asignada[4] = 7.0;
  EXPECT_EQ(datos[0], 1.0);
  EXPECT_EQ(VectorPrestado(datos, 0).Vista().Datos(), nullptr);
}

TEST(Vector, SubVectorYRedimensionar) {
  Vector v(5);
  for (std::uint32_t i = 1; i <= 5; ++i) v[i] = i;
  Vector s = v.SubVector(2, 4);
  ASSERT_EQ(s.Longitud(), 3u);
  EXPECT_EQ(s(1), 2.0);
  EXPECT_EQ(v.SubVector(3, 3).Longitud(), 1u);
  v.Redimensionar(8);
  EXPECT_EQ(v(5), 5.0);
  v.Redimensionar(0);
  EXPECT_EQ(v.Longitud(), 0u);
  v.Redimensionar(2);
  EXPECT_EQ(v.Longitud(), 2u);
}

// A part kept in place, short and long (past the size whose tail pages go back to the
// system), from the start and from inside.
TEST(Vector, QuedarseConUnaParte) {
  struct Caso {
    std::uint32_t n, desde, hasta;
  };
  const Caso casos[] = {{5, 2, 4}, {5, 1, 5}, {3'000'000, 2, 1'500'001}, {3'000'000, 1, 10}};
  for (const Caso& c : casos) {
    Vector v(c.n);
    for (std::uint32_t i = 1; i <= c.n; ++i) v[i] = 0.5 * i + 1.0;
    v.QuedarseCon(c.desde, c.hasta);
    ASSERT_EQ(v.Longitud(), c.hasta - c.desde + 1) << c.n;
    for (std::uint32_t i = 1; i <= v.Longitud(); ++i)
      ASSERT_EQ(v(i), 0.5 * (c.desde + i - 1) + 1.0) << c.n << " " << i;
    v.Redimensionar(v.Longitud() + 3);  // grows into a block of its own
    EXPECT_EQ(v(1), 0.5 * c.desde + 1.0);
  }
}

TEST(Vector, Aritmetica) {
  Vector u(3, 2.0), w(3, 4.0);
  EXPECT_EQ((u + w)(2), 6.0);
  EXPECT_EQ((u - w)(2), -2.0);
  EXPECT_EQ((u * w)(2), 8.0);
  EXPECT_EQ((u / w)(2), 0.5);
  EXPECT_EQ((1.0 - u)(1), -1.0);
  EXPECT_EQ((3.0 * u)(1), 6.0);
  EXPECT_EQ(pow(w, 0.5)(3), 2.0);
  EXPECT_EQ(log10(Vector(1, 100.0))(1), 2.0);
}

TEST(Matrix, FilasColumnasYProductos) {
  Matrix m(2, 3, 0.0);
  EXPECT_EQ(Matrix(0, 4).Filas(), 0u);
  EXPECT_EQ(Matrix(0, 4).Columnas(), 0u);
  Vector fila(3);
  fila[1] = 1; fila[2] = 2; fila[3] = 3;
  m.PonerFila(2, fila);
  EXPECT_EQ(m(2, 3), 3.0);
  EXPECT_EQ(m.Columna(2)(2), 2.0);
  Vector v(2, 1.0);
  Vector p = v * m;
  EXPECT_EQ(p(3), 3.0);
  Matrix e = ProductoExterior(Vector(3, 2.0), Vector(2, 3.0));
  EXPECT_EQ(e.Filas(), 3u);
  EXPECT_EQ(e.Columnas(), 2u);
  EXPECT_EQ(e(3, 2), 6.0);
}

// Every detected misuse ends the process with status 1 and the numbered message.
struct CasoFatal {
  const char* nombre;
  void (*accion)();
  FalloEjecucion codigo;
  const char* mensaje;
};

void LeerFueraVector() { Vector v(3); (void)v(4); }
void LeerCeroVector() { Vector v(3); (void)v(0); }
void SubVectorInvertido() { Vector v(5, 0.0); (void)v.SubVector(5, 4); }
void QuedarseInvertido() { Vector v(5, 0.0); v.QuedarseCon(5, 4); }
void QuedarseFuera() { Vector v(5, 0.0); v.QuedarseCon(2, 6); }
void SumaDistintas() { Vector a(3, 0.0), b(4, 0.0); (void)(a + b); }
void LeerFueraMatriz() { Matrix m(2, 2, 0.0); (void)m(0, 1); }
void FilaFuera() { Matrix m(2, 2, 0.0); (void)m.Fila(3); }
void ColumnaFuera() { Matrix m(2, 2, 0.0); (void)m.Columna(3); }
void ProductoMal() { Matrix m(2, 2, 0.0); (void)(Vector(3, 0.0) * m); }


TEST(Vector, RedimensionarConservaElPrefijoAlCrecerMuchasVeces) {
  Vector v;
  for (std::uint32_t i = 1; i <= 1000; ++i) {
    v.Redimensionar(i);
    v[i] = 3.0 * i;
  }
  for (std::uint32_t i = 1; i <= 1000; ++i) ASSERT_EQ(v(i), 3.0 * i) << i;
  const double* antes = v.Datos();
  v.Redimensionar(1000);  // same length: storage and values untouched
  EXPECT_EQ(v.Datos(), antes);
  v.Redimensionar(10);
  EXPECT_EQ(v(10), 30.0);
}

TEST(Vector, AsignacionEntreLongitudesDistintasYAutoasignacion) {
  Vector a(4, 1.0), b(2, 7.0);
  a = b;
  ASSERT_EQ(a.Longitud(), 2u);
  EXPECT_EQ(a(2), 7.0);
  b[1] = 0.0;  // deep copy
  EXPECT_EQ(a(1), 7.0);
  Vector& alias = a;
  a = alias;
  EXPECT_EQ(a.Longitud(), 2u);
  EXPECT_EQ(a(1), 7.0);
  a += a;  // aliasing operands
  EXPECT_EQ(a(1), 14.0);
}

TEST(Matrix, AsignacionCambiaLaFormaYCopiaEnProfundidad) {
  Matrix a(2, 3, 1.0), b(3, 2, 2.0);
  a = b;
  EXPECT_EQ(a.Filas(), 3u);
  EXPECT_EQ(a.Columnas(), 2u);
  b(1, 1) = 9.0;
  EXPECT_EQ(a(1, 1), 2.0);
  Matrix& alias = a;
  a = alias;
  EXPECT_EQ(a(3, 2), 2.0);
  Matrix c(a);
  c *= 0.5;
  EXPECT_EQ(c(2, 1), 1.0);
  EXPECT_EQ(a(2, 1), 2.0);
}

void PonerFilaFuera() { Matrix m(2, 2, 0.0); m.PonerFila(0, Vector(2, 1.0)); }
void PonerColumnaFuera() { Matrix m(2, 2, 0.0); m.PonerColumna(3, Vector(2, 1.0)); }
void ElementoMatrizFuera() { Matrix m(2, 3, 0.0); m(2, 4) = 1.0; }
void ReferenciaFueraVector() { Vector v(2); v[3] = 1.0; }

// Every misuse throws the library's one fault type with its code and its whole text.
TEST(ErrorEjecucion, CadaMalUsoLanzaSuCodigoYSuTexto) {
  const CasoFatal casos[] = {
      {"v(n+1)", LeerFueraVector, kFalloIndiceVector, "índice fuera del rango del vector"},
      {"v(0)", LeerCeroVector, kFalloIndiceVector, "índice fuera del rango del vector"},
      {"SubVector(5,4)", SubVectorInvertido, kFalloSubvectorInvertido,
       "indice1 debe ser menor que indice2 para obtener un subvector"},
      {"QuedarseCon(5,4)", QuedarseInvertido, kFalloSubvectorInvertido,
       "indice1 debe ser menor que indice2 para obtener un subvector"},
      {"QuedarseCon(2,6)", QuedarseFuera, kFalloIndiceVector, "índice fuera del rango del vector"},
      {"longitudes", SumaDistintas, kFalloLongitudesDistintas,
       "no se puede operar con vectores de distinta longitud"},
      {"M(0,1)", LeerFueraMatriz, kFalloIndiceMatriz, "índice fuera del rango de la matriz"},
      {"Fila", FilaFuera, kFalloFilaMatriz, "fila fuera del rango de la matriz"},
      {"Columna", ColumnaFuera, kFalloColumnaMatriz, "columna fuera del rango de la matriz"},
      {"v*M", ProductoMal, kFalloProductoVectorMatriz,
       "longitud del vector distinto a número de filas de la matriz en operación *"},
      {"PonerFila(0)", PonerFilaFuera, kFalloFilaMatriz, "fila fuera del rango de la matriz"},
      {"PonerColumna(3)", PonerColumnaFuera, kFalloColumnaMatriz,
       "columna fuera del rango de la matriz"},
      {"M(2,4)", ElementoMatrizFuera, kFalloIndiceMatriz, "índice fuera del rango de la matriz"},
      {"v[3]", ReferenciaFueraVector, kFalloIndiceVector, "índice fuera del rango del vector"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const prueba::Fallo f = prueba::FalloNumerico(c.accion);
    EXPECT_EQ(f.codigo, c.codigo);
    EXPECT_EQ(f.texto, std::string("error en tiempo de ejecución: ") + c.mensaje);
  }
  EXPECT_STREQ(MensajeErrorEjecucion(kFalloPuntosAutocorrelacion),
               "número de puntos incorrecto en la autocorrelación");
  EXPECT_STREQ(MensajeErrorEjecucion(static_cast<FalloEjecucion>(200)), "");
}

}  // namespace
