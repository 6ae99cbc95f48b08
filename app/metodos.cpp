#include "app/metodos.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "app/formato.h"
#include "estimators/estado.h"
#include "estimators/hurst_dfa.h"
#include "estimators/hurst_gph.h"
#include "estimators/hurst_higuchi.h"
#include "estimators/hurst_momentos.h"
#include "estimators/hurst_ondiculas.h"
#include "estimators/hurst_periodograma.h"
#include "estimators/hurst_rs.h"
#include "estimators/hurst_var_diferenciada.h"
#include "estimators/hurst_varianza.h"
#include "estimators/hurst_whittle_agregado.h"
#include "estimators/hurst_whittle_farima.h"
#include "estimators/hurst_whittle_fgn.h"
#include "estimators/hurst_whittle_local.h"
#include "estimators/t0_idc.h"
#include "estimators/test_t.h"
#include "numeric/regresion.h"

std::string BloqueMetodo::F(double x) const { return FormatoF(x, separador_); }
std::string BloqueMetodo::G(double x) const { return FormatoG(x, separador_); }
std::string BloqueMetodo::I(long long n) { return FormatoI(n); }

void BloqueMetodo::Parametro(const std::string& texto) { Linea("      " + texto); }

void BloqueMetodo::Intervalo(double bajo, double alto) {
  resultado.hayIntervalo = true;
  resultado.icBajo = bajo;
  resultado.icAlto = alto;
  Linea("Intervalo de confianza (95%): [" + F(bajo) + "; " + F(alto) + "]");
}

namespace {

using namespace campo;

// Minimum lag d and minimum level m go to the estimators as unsigned numbers; a negative
// text would turn into a huge value and be refused with an unrelated message. Passing 0
// makes the estimator refuse it with the message of that very parameter.
std::uint32_t SinSigno(int valor) { return valor < 0 ? 0u : static_cast<std::uint32_t>(valor); }

// Double to single precision without leaving the float range undefined.
float AFloat(double valor) {
  if (valor > FLT_MAX) return HUGE_VALF;
  if (valor < -FLT_MAX) return -HUGE_VALF;
  return static_cast<float>(valor);
}

// The first line of the first log-log methods.
void LineaHurst(BloqueMetodo& b, double H) {
  b.resultado.valor = H;
  b.Linea("Parámetro Hurst H = " + b.F(H));
}

// The first line of the Whittle methods and of every method added after them.
void LineaHurstDosPuntos(BloqueMetodo& b, double H) {
  b.resultado.valor = H;
  b.Linea("Parámetro Hurst: H = " + b.F(H));
}

// The first two lines of the methods with a confidence interval.
void LineaHurstIntervalo(BloqueMetodo& b, double H, double bajo, double alto) {
  LineaHurstDosPuntos(b, H);
  b.Intervalo(bajo, alto);
}

// The chart's points, and the method's own fitted line at them where it has one.
void Puntos(BloqueMetodo& b, Vector& x, Vector& y, Vector ajusteY = Vector()) {
  b.resultado.x = std::move(x);
  b.resultado.y = std::move(y);
  b.resultado.ajusteY = std::move(ajusteY);
}

int RS(BloqueMetodo& b) {
  const int minD = b.Entero(EMind);
  const int minMuestras = b.Entero(EMinRS);
  const int bloques = b.Entero(EBloques);
  const int decada = b.Entero(EDecadaRS);
  double H = 0;
  Vector x, y;
  const int estado = HurstRS(b.Serie(), decada, bloques, SinSigno(minD), minMuestras, H, x, y);
  if (estado != kEstadoOk) return estado;
  LineaHurst(b, H);
  b.Linea("Método R/S. Parámetros:");
  b.Parametro("Mínimo valor de 'd': " + b.I(minD));
  b.Parametro("Mínimo nº de muestras R/S: " + b.I(minMuestras));
  b.Parametro("Número de bloques: " + b.I(bloques));
  b.Parametro("Puntos por década: " + b.I(decada));
  Puntos(b, x, y);
  return kEstadoOk;
}

// The three parameter lines of both variance methods.
void LineasVarianza(BloqueMetodo& b, int minM, int minMuestras, int decada) {
  b.Parametro("Mínimo valor de 'm': " + b.I(minM));
  b.Parametro("Mínimo nº de muestras para la varianza: " + b.I(minMuestras));
  b.Parametro("Puntos por década: " + b.I(decada));
}

int Varianza(BloqueMetodo& b) {
  const int minM = b.Entero(EMinm);
  const int minMuestras = b.Entero(EMinVar);
  const int decada = b.Entero(EDecadaVar);
  double H = 0;
  Vector x, y;
  int estado = HurstVarianza(b.Serie(), decada, SinSigno(minM), minMuestras, H, x, y);
  if (estado != kEstadoOk) return estado;
  const bool lineal = b.Marca(ChLineal);
  int esRecta = 1;
  if (lineal) {
    estado = ComprobarLineal(x, y, 8.0f, esRecta);
    if (estado != kEstadoOk) return estado;
  }
  LineaHurst(b, H);
  b.Linea("Método de la varianza. Parámetros:");
  LineasVarianza(b, minM, minMuestras, decada);
  if (lineal) {
    b.Linea(esRecta == 1
                ? "La gráfica log10 (Var.) vs log10 (m) es aprox. una línea recta. No existen "
                  "saltos en la media ni tendencias lentamente decrecientes (no "
                  "estacionariedades)"
                : "La gráfica log10 (Var.) vs log10 (m) no es una línea recta. No "
                  "estacionariedad presente");
  }
  Puntos(b, x, y);
  return kEstadoOk;
}

// The methods over the aggregation levels of the variance method: the minimum m, the
// minimum number of samples and the points per decade from the three fields, the
// estimator, then its first line, its method line and the three parameter lines.
int MetodoDeNiveles(BloqueMetodo& b, const char* campoM, const char* campoMuestras,
                    const char* campoDecada,
                    int (*estimador)(const Vector&, std::int32_t, std::uint32_t, std::int32_t,
                                     double&, Vector&, Vector&),
                    void (*primeraLinea)(BloqueMetodo&, double), const char* lineaMetodo) {
  const int minM = b.Entero(campoM);
  const int minMuestras = b.Entero(campoMuestras);
  const int decada = b.Entero(campoDecada);
  double H = 0;
  Vector x, y;
  const int estado = estimador(b.Serie(), decada, SinSigno(minM), minMuestras, H, x, y);
  if (estado != kEstadoOk) return estado;
  primeraLinea(b, H);
  b.Linea(lineaMetodo);
  LineasVarianza(b, minM, minMuestras, decada);
  Puntos(b, x, y);
  return kEstadoOk;
}

int VarianzaDiferenciada(BloqueMetodo& b) {
  const bool mismos = b.Marca(ChMismos);
  return MetodoDeNiveles(b, mismos ? EMinm : EMinmDif, mismos ? EMinVar : EMinVarDif,
                         mismos ? EDecadaVar : EDecadaVarDif, HurstVarDiferenciada, LineaHurst,
                         "Método de la varianza diferenciada. Parámetros:");
}

int IDC(BloqueMetodo& b) {
  const double inicial = b.Real(EInicial);
  const double final_ = b.Real(EFinal);
  const int decada = b.Entero(EDecada);
  double T0 = 0;
  Vector x, y;
  const int estado = T0IDC(b.Serie(), decada, inicial, final_, T0, x, y);
  if (estado != kEstadoOk) return estado;
  b.resultado.valor = T0;
  b.Linea("Tiempo de comienzo fractal : T0 = " + b.F(T0) + " seg.");
  b.Linea("Método de IDC (T0). Parámetros:");
  b.Parametro("Escala de tiempos inicial: " + b.G(inicial) + " seg.");
  b.Parametro("Escala de tiempos final: " + b.G(final_) + " seg.");
  b.Parametro("Puntos por década: " + b.I(decada));
  Puntos(b, x, y);
  return kEstadoOk;
}

int Periodograma(BloqueMetodo& b) {
  const double porcentaje = b.Real(CBPorcentaje);
  double H = 0;
  Vector x, y;
  const int estado = HurstPeriodograma(b.Serie(), AFloat(porcentaje), H, x, y);
  if (estado != kEstadoOk) return estado;
  LineaHurst(b, H);
  b.Linea("Método del periodograma. Parámetros:");
  b.Parametro("Porcentaje de frecuencias: " + b.G(porcentaje));
  Puntos(b, x, y);
  return kEstadoOk;
}

// The FGN density chosen; the report names it only when it is not the historical one.
SumaDensidad Densidad(BloqueMetodo& b) {
  return b.Opcion(RGDensidad) == 1 ? SumaDensidad::kExacta : SumaDensidad::kTruncada;
}

void LineaDensidad(BloqueMetodo& b, SumaDensidad suma) {
  if (suma == SumaDensidad::kExacta) b.Parametro("Densidad espectral: exacta");
}

int WhittleEstandar(BloqueMetodo& b) {
  if (b.Opcion(RGModelo) == 0) {
    const SumaDensidad suma = Densidad(b);
    double H = 0, bajo = 0, alto = 0;
    const int estado = HurstWhittleFgn(b.Serie(), H, bajo, alto, suma);
    if (estado != kEstadoOk) return estado;
    LineaHurstIntervalo(b, H, bajo, alto);
    b.Linea("Método de Whittle estándar. Modelo FGN");
    LineaDensidad(b, suma);
    return kEstadoOk;
  }
  const int ordenP = b.Entero(EOrdenp);
  const int ordenQ = b.Entero(EOrdenq);
  Vector eta;
  double bajo = 0, alto = 0;
  const int estado = HurstWhittleFarima(b.Serie(), ordenP, ordenQ, eta, bajo, alto);
  if (estado != kEstadoOk) return estado;
  b.resultado.coeficientes.assign(eta.begin(), eta.end());
  LineaHurstIntervalo(b, eta(1), bajo, alto);
  std::string ar = "Parámetros AR: ";
  for (int k = 1; k <= ordenP; ++k) ar += b.F(eta(static_cast<std::uint32_t>(k + 1))) + "  ";
  b.Linea(ar);
  std::string ma = "Parámetros MA: ";
  for (int k = 1; k <= ordenQ; ++k) {
    ma += b.F(eta(static_cast<std::uint32_t>(ordenP + k + 1))) + "  ";
  }
  b.Linea(ma);
  b.Linea("Método de Whittle estándar. Modelo FARIMA");
  return kEstadoOk;
}

// The Whittle methods with one integer parameter (the aggregation level, the factor m).
// A negative value becomes a huge one, which the estimator refuses with its message.
template <class Estimador>
int WhittleConParametro(BloqueMetodo& b, const char* campo, const Estimador& estimador,
                        const char* lineaMetodo, const char* etiqueta) {
  const int valor = b.Entero(campo);
  double H = 0, bajo = 0, alto = 0;
  const int estado = estimador(b.Serie(), static_cast<std::uint32_t>(valor), H, bajo, alto);
  if (estado != kEstadoOk) return estado;
  LineaHurstIntervalo(b, H, bajo, alto);
  b.Linea(lineaMetodo);
  b.Parametro(etiqueta + b.I(valor));
  return kEstadoOk;
}

int WhittleAgregado(BloqueMetodo& b) {
  const SumaDensidad suma = Densidad(b);
  const int estado = WhittleConParametro(
      b, CBNivel,
      [&](const Vector& serie, std::uint32_t nivel, double& H, double& bajo, double& alto) {
        return HurstWhittleAgregado(serie, nivel, H, bajo, alto, suma);
      },
      "Método de Whittle agregado. Parámetros:", "Nivel de agregación: ");
  if (estado == kEstadoOk) LineaDensidad(b, suma);
  return estado;
}

int WhittleLocal(BloqueMetodo& b) {
  return WhittleConParametro(b, CBFactor, HurstWhittleLocal,
                             "Método de Whittle local. Parámetros:", "Factor m: ");
}

int Ondiculas(BloqueMetodo& b) {
  const int momentos = b.Entero(EMomentosOnd);
  const int octavaInicial = b.Entero(EOctavaIni);
  const int octavaFinal = b.Entero(EOctavaFin);
  double H = 0, bajo = 0, alto = 0;
  std::int32_t usada = 0;
  Vector x, y, ajuste;
  const int estado = HurstOndiculas(b.Serie(), momentos, octavaInicial, octavaFinal, H, bajo,
                                    alto, usada, x, y, ajuste);
  if (estado != kEstadoOk) return estado;
  LineaHurstIntervalo(b, H, bajo, alto);
  b.Linea("Método de ondículas (Abry-Veitch). Parámetros:");
  b.Parametro("Momentos nulos de la ondícula: " + b.I(momentos));
  b.Parametro("Octavas: " + b.I(octavaInicial) + " a " + b.I(usada));
  Puntos(b, x, y, std::move(ajuste));
  return kEstadoOk;
}

int Gph(BloqueMetodo& b) {
  const double exponente = b.Real(EExponenteGPH);
  double H = 0, bajo = 0, alto = 0;
  std::uint32_t frecuencias = 0;
  Vector x, y, ajuste;
  const int estado = HurstGph(b.Serie(), exponente, H, bajo, alto, frecuencias, x, y, ajuste);
  if (estado != kEstadoOk) return estado;
  LineaHurstIntervalo(b, H, bajo, alto);
  b.Linea("Método GPH. Parámetros:");
  b.Parametro("Exponente del ancho de banda: " + b.G(exponente));
  b.Parametro("Frecuencias usadas: " + b.I(frecuencias));
  Puntos(b, x, y, std::move(ajuste));
  return kEstadoOk;
}

int Dfa(BloqueMetodo& b) {
  const int orden = b.Entero(EOrdenDFA);
  const int cajaMinima = b.Entero(EMinCaja);
  const int cajasDecada = b.Entero(EDecadaDFA);
  double H = 0;
  Vector x, y;
  const int estado = HurstDfa(b.Serie(), orden, cajaMinima, cajasDecada, H, x, y);
  if (estado != kEstadoOk) return estado;
  LineaHurstDosPuntos(b, H);
  b.Linea("Método DFA. Parámetros:");
  b.Parametro("Orden de la tendencia: " + b.I(orden));
  b.Parametro("Caja mínima: " + b.I(cajaMinima));
  b.Parametro("Cajas por década: " + b.I(cajasDecada));
  Puntos(b, x, y);
  return kEstadoOk;
}

int MomentosAbsolutos(BloqueMetodo& b) {
  return MetodoDeNiveles(b, EMinmMom, EMinBloquesMom, EDecadaMom, HurstMomentosAbsolutos,
                         LineaHurstDosPuntos, "Método de los momentos absolutos. Parámetros:");
}

int Higuchi(BloqueMetodo& b) {
  const int retardoMaximo = b.Entero(EKMax);
  const int retardosDecada = b.Entero(EDecadaHig);
  double H = 0;
  std::int32_t usado = 0;
  Vector x, y;
  const int estado = HurstHiguchi(b.Serie(), retardoMaximo, retardosDecada, H, usado, x, y);
  if (estado != kEstadoOk) return estado;
  LineaHurstDosPuntos(b, H);
  b.Linea("Método de Higuchi. Parámetros:");
  b.Parametro("Retardo máximo: " + b.I(usado));
  b.Parametro("Retardos por década: " + b.I(retardosDecada));
  Puntos(b, x, y);
  return kEstadoOk;
}

int TestEstacionariedad(BloqueMetodo& b) {
  const int bloques = b.Entero(EstacionEBloques);
  const double significancia = b.Real(ESigni);
  double P = 0;
  int constante = 0;
  const int estado =
      TestT(b.Serie(), static_cast<std::uint32_t>(bloques), significancia, P, constante);
  if (estado != kEstadoOk) return estado;
  b.resultado.valor = P;
  b.resultado.hayConstante = true;
  b.resultado.constante = constante;
  b.Linea("Probabilidad: P = " + b.F(P) + "    Parámetro Hurst " +
          (constante == 1 ? "constante" : "no constante"));
  b.Linea("Test de estacionariedad. Parámetros:");
  b.Parametro("Número de bloques: " + b.I(bloques));
  b.Parametro("Significancia: " + b.G(significancia));
  return kEstadoOk;
}

}  // namespace

const std::vector<DefinicionMetodo>& TablaMetodos() {
  constexpr std::uint8_t kMarcaRS = 3, kMarcaPeriodograma = 0, kMarcaComun = 17;
  static const std::vector<DefinicionMetodo> tabla = {
      {metodo::kDfa, nullptr, {EOrdenDFA, EMinCaja, EDecadaDFA}, true, false, "log10 (s)",
       "log10 F(s)", kMarcaComun, Dfa},
      {metodo::kGph, nullptr, {EExponenteGPH}, true, true, "log10 (frecuencia)",
       "log10 periodograma", kMarcaComun, Gph},
      {metodo::kHiguchi, nullptr, {EKMax, EDecadaHig}, true, false, "log10 (k)",
       "log10 L(k)", kMarcaComun, Higuchi},
      {metodo::kMomentos, "Mom. abs.", {EMinmMom, EMinBloquesMom, EDecadaMom}, true, false,
       "log10 (m)", "log10 AM(m)", kMarcaComun, MomentosAbsolutos},
      {metodo::kNinguno, nullptr, {}, false, false, nullptr, nullptr, 0, nullptr},
      {metodo::kOndiculas, "Ondíc.",
       {EMomentosOnd, EOctavaIni, EOctavaFin}, true, true, "Octava j", "log2 energía",
       kMarcaComun, Ondiculas},
      {metodo::kPeriodograma, "Period.", {CBPorcentaje},
       true, false, "log10 (frecuencia)", "log10 (Periodograma)", kMarcaPeriodograma,
       Periodograma},
      {metodo::kRS, nullptr, {EMind, EMinRS, EBloques, EDecadaRS}, true,
       false, "log10 (d)", "log10 (R/S)", kMarcaRS, RS},
      {"T0 (IDC)", nullptr, {EInicial, EFinal, EDecada}, false, false,
       "log10 t (segs)", "log10 (IDC-1)", kMarcaComun, IDC, false},
      {metodo::kTestT, nullptr, {EstacionEBloques, ESigni}, false,
       false, nullptr, nullptr, 0, TestEstacionariedad},
      {metodo::kVarianza, "Var.", {EMinm, EMinVar, EDecadaVar, ChLineal}, true, false, "log10 (m)", "log10 (Varianza)",
       kMarcaComun, Varianza},
      {"Varianza Difer.", "Var. dif.",
       {ChMismos, EMinmDif, EMinVarDif, EDecadaVarDif, EMinm, EMinVar, EDecadaVar}, true,
       false, "log10 (m)", "log10 (Varianza diferenciada)", kMarcaComun,
       VarianzaDiferenciada},
      {"Whittle Agregado", "W. agr.", {CBNivel, RGDensidad}, true, true, nullptr,
       nullptr, 0, WhittleAgregado},
      {"Whittle Estándar", "W. est.", {RGModelo, RGDensidad, EOrdenp, EOrdenq}, true,
       true, nullptr, nullptr, 0, WhittleEstandar},
      {"Whittle Local", "W. local", {CBFactor}, true, true, nullptr,
       nullptr, 0, WhittleLocal},
  };
  return tabla;
}

const DefinicionMetodo* BuscarMetodo(const std::string& nombre) {
  for (const DefinicionMetodo& m : TablaMetodos()) {
    if (nombre == m.nombre) return &m;
  }
  return nullptr;
}

std::vector<std::string> NombresMetodos() {
  std::vector<std::string> nombres;
  for (const DefinicionMetodo& m : TablaMetodos()) nombres.emplace_back(m.nombre);
  return nombres;
}
