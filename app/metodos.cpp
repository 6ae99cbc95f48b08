#include "app/metodos.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string_view>

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

int LectorCampos::Estado(const char* campo) const {
  const DefinicionCampo* definicion = BuscarCampo(campo);
  if (definicion && definicion->tipo == TipoCampo::Casilla) return Marca(campo) ? 1 : 0;
  return Opcion(campo);
}

std::uint32_t LectorCampos::SinSigno(const char* campo) const {
  const int valor = Entero(campo);
  return valor < 0 ? 0u : static_cast<std::uint32_t>(valor);
}

float LectorCampos::Simple(const char* campo) const {
  const double valor = Real(campo);
  if (valor > FLT_MAX) return HUGE_VALF;
  if (valor < -FLT_MAX) return -HUGE_VALF;
  return static_cast<float>(valor);
}

namespace {

bool Empieza(const char* nombre, const char* prefijo) {
  return std::string_view(nombre).starts_with(prefijo);
}

// The lines of a row written for an estimate.
class Redactor {
 public:
  Redactor(const LectorCampos& campos, const Estimacion& e, char separador)
      : campos_(campos), e_(e), separador_(separador) {}

  std::string F(double x) const { return FormatoF(x, separador_); }

  bool Cumple(const LineaInforme::Condicion& c) const {
    return c.campo == nullptr || (campos_.Estado(c.campo) == c.estado) != c.distinto;
  }

  std::string Linea(const LineaInforme& linea) const {
    std::string texto = linea.parametro ? "      " : "";
    for (const Pieza& p : linea.piezas) texto += Texto(p);
    return texto;
  }

 private:
  std::string Texto(const Pieza& p) const {
    switch (p.tipo) {
      case Pieza::Tipo::Texto:
        return p.a;
      case Pieza::Tipo::Valor:
        return F(e_.valor);
      case Pieza::Tipo::Entero:
        return FormatoI(campos_.Entero(p.a));
      case Pieza::Tipo::Real:
        return FormatoG(campos_.Real(p.a), separador_);
      case Pieza::Tipo::Elegido:
        return FormatoI(campos_.Entero(campos_.Marca(p.a) ? p.b : p.c));
      case Pieza::Tipo::Cifra:
        return FormatoI(static_cast<long long>(e_.CifraDe(p.a)));
      case Pieza::Tipo::Cifras: {
        std::string lista;
        for (const Cifra& c : e_.cifras) {
          if (Empieza(c.nombre, p.a)) lista += F(c.valor) + "  ";
        }
        return lista;
      }
      case Pieza::Tipo::SegunCifra:
        return e_.CifraDe(p.a) == 1.0 ? p.b : p.c;
      case Pieza::Tipo::SegunCampo:
        return campos_.Estado(p.a) == 0 ? p.b : p.c;
    }
    return {};
  }

  const LectorCampos& campos_;
  const Estimacion& e_;
  char separador_;
};

}  // namespace

MetodoEjecutado EjecutarMetodo(const DefinicionMetodo& metodo, const Vector& serie,
                               const AnalysisParameters& parametros, char separador) {
  const LectorCampos campos(parametros);
  MetodoEjecutado r{metodo.estimar(campos, serie), {}};
  Estimacion& e = r.estimacion;
  if (!e.Exito()) return r;
  const bool finito = std::isfinite(e.valor) &&
                      (!e.hayIntervalo || (std::isfinite(e.inferior) && std::isfinite(e.superior)));
  if (!finito) {
    r.estimacion = Estimacion::Rechazo(kEstadoResultadoNoFinito);
    return r;
  }
  const Redactor redactor(campos, e, separador);
  for (std::size_t i = 0; i < metodo.lineas.size(); ++i) {
    const LineaInforme& linea = metodo.lineas[i];
    if (redactor.Cumple(linea.si) && redactor.Cumple(linea.y)) {
      r.lineas.push_back(redactor.Linea(linea));
    }
    if (i == 0 && e.hayIntervalo) {
      r.lineas.push_back("Intervalo de confianza (95%): [" + redactor.F(e.inferior) + "; " +
                         redactor.F(e.superior) + "]");
    }
  }
  return r;
}

std::vector<double> Coeficientes(const Estimacion& e) {
  if (!e.TieneCifra(cifra::kOrdenP)) return {};
  std::vector<double> c{e.valor};
  for (const char* prefijo : {cifra::kPrefijoAR, cifra::kPrefijoMA}) {
    for (const Cifra& f : e.cifras) {
      if (Empieza(f.nombre, prefijo)) c.push_back(f.valor);
    }
  }
  return c;
}

namespace {

using namespace campo;
using Tipo = Pieza::Tipo;

// The pieces and lines the rows are written with.
Pieza Texto(const char* texto) { return {Tipo::Texto, texto}; }
Pieza Valor() { return {Tipo::Valor}; }
Pieza Entero(const char* campo) { return {Tipo::Entero, campo}; }
Pieza Real(const char* campo) { return {Tipo::Real, campo}; }
Pieza Elegido(const char* marca, const char* si, const char* no) {
  return {Tipo::Elegido, marca, si, no};
}
Pieza CifraEntera(const char* nombre) { return {Tipo::Cifra, nombre}; }
Pieza Cifras(const char* prefijo) { return {Tipo::Cifras, prefijo}; }
Pieza SegunCifra(const char* nombre, const char* si, const char* no) {
  return {Tipo::SegunCifra, nombre, si, no};
}
Pieza SegunCampo(const char* campo, const char* cero, const char* otro) {
  return {Tipo::SegunCampo, campo, cero, otro};
}

LineaInforme Linea(std::vector<Pieza> piezas, LineaInforme::Condicion si = {},
                   LineaInforme::Condicion y = {}) {
  return {false, std::move(piezas), si, y};
}
LineaInforme Linea(const char* texto) { return Linea({Texto(texto)}); }
LineaInforme Parametro(const char* etiqueta, Pieza valor, LineaInforme::Condicion si = {},
                       LineaInforme::Condicion y = {}) {
  return {true, {Texto(etiqueta), valor}, si, y};
}
LineaInforme Parametro(std::vector<Pieza> piezas) { return {true, std::move(piezas), {}, {}}; }
LineaInforme::Condicion Si(const char* campo, int estado) { return {campo, estado, false}; }
LineaInforme::Condicion NoEs(const char* campo, int estado) { return {campo, estado, true}; }

// The first lines: the log-log methods first written, and the Whittle methods with every
// method added after them.
const LineaInforme kHurst = Linea({Texto("Parámetro Hurst H = "), Valor()});
const LineaInforme kHurstDosPuntos = Linea({Texto("Parámetro Hurst: H = "), Valor()});

// The three parameter lines of the methods over aggregation levels.
std::vector<LineaInforme> LineasDeNiveles(const char* lineaMetodo, LineaInforme primera,
                                          Pieza m, Pieza muestras, Pieza decada) {
  return {primera, Linea(lineaMetodo), Parametro("Mínimo valor de 'm': ", m),
          Parametro("Mínimo nº de muestras para la varianza: ", muestras),
          Parametro("Puntos por década: ", decada)};
}

// Varianza: the estimate, then, with "lineal" checked, whether its points lie on a line.
Estimacion Varianza(const LectorCampos& c, const Vector& s) {
  const std::uint32_t minM = c.SinSigno(EMinm);
  const int minMuestras = c.Entero(EMinVar);
  Estimacion e = HurstVarianza(s, c.Entero(EDecadaVar), minM, minMuestras);
  if (e.Exito() && c.Marca(ChLineal)) {
    int esRecta = 1;
    const int estado = ComprobarLineal(e.ejeX, e.ejeY, 8.0f, esRecta);
    if (estado != kLinealHecho) return Estimacion::Rechazo(estado);
    e.cifras.push_back({cifra::kRecta, static_cast<double>(esRecta)});
  }
  return e;
}

Estimacion VarianzaDiferenciada(const LectorCampos& c, const Vector& s) {
  const bool mismos = c.Marca(ChMismos);
  const std::uint32_t minM = c.SinSigno(mismos ? EMinm : EMinmDif);
  const int minMuestras = c.Entero(mismos ? EMinVar : EMinVarDif);
  return HurstVarDiferenciada(s, c.Entero(mismos ? EDecadaVar : EDecadaVarDif), minM,
                              minMuestras);
}

SumaDensidad Densidad(const LectorCampos& c) {
  return c.Opcion(RGDensidad) == 1 ? SumaDensidad::kExacta : SumaDensidad::kTruncada;
}

Estimacion WhittleEstandar(const LectorCampos& c, const Vector& s) {
  if (c.Opcion(RGModelo) == 0) return HurstWhittleFgn(s, Densidad(c));
  const int p = c.Entero(EOrdenp);
  return HurstWhittleFarima(s, p, c.Entero(EOrdenq));
}

}  // namespace

const std::vector<DefinicionMetodo>& TablaMetodos() {
  constexpr std::uint8_t kMarcaRS = 3, kMarcaPeriodograma = 0, kMarcaComun = 17;
  static const std::vector<DefinicionMetodo> tabla = {
      {metodo::kDfa, nullptr, {EOrdenDFA, EMinCaja, EDecadaDFA}, true, false, "log10 (s)",
       "log10 F(s)", kMarcaComun, {Familia::Tiempo, 5},
       [](const LectorCampos& c, const Vector& s) {
         const int orden = c.Entero(EOrdenDFA);
         const int caja = c.Entero(EMinCaja);
         return HurstDfa(s, orden, caja, c.Entero(EDecadaDFA));
       },
       {kHurstDosPuntos, Linea("Método DFA. Parámetros:"),
        Parametro("Orden de la tendencia: ", Entero(EOrdenDFA)),
        Parametro("Caja mínima: ", Entero(EMinCaja)),
        Parametro("Cajas por década: ", Entero(EDecadaDFA))}},
      {metodo::kGph, nullptr, {EExponenteGPH}, true, true, "log10 (frecuencia)",
       "log10 periodograma", kMarcaComun, {Familia::Frecuencia, 2},
       [](const LectorCampos& c, const Vector& s) { return HurstGph(s, c.Real(EExponenteGPH)); },
       {kHurstDosPuntos, Linea("Método GPH. Parámetros:"),
        Parametro("Exponente del ancho de banda: ", Real(EExponenteGPH)),
        Parametro("Frecuencias usadas: ", CifraEntera(cifra::kFrecuencias))}},
      {metodo::kHiguchi, nullptr, {EKMax, EDecadaHig}, true, false, "log10 (k)",
       "log10 L(k)", kMarcaComun, {Familia::Tiempo, 6},
       [](const LectorCampos& c, const Vector& s) {
         const int retardoMaximo = c.Entero(EKMax);
         return HurstHiguchi(s, retardoMaximo, c.Entero(EDecadaHig));
       },
       {kHurstDosPuntos, Linea("Método de Higuchi. Parámetros:"),
        Parametro("Retardo máximo: ", CifraEntera(cifra::kRetardoMaximo)),
        Parametro("Retardos por década: ", Entero(EDecadaHig))}},
      {metodo::kMomentos, "Mom. abs.", {EMinmMom, EMinBloquesMom, EDecadaMom}, true, false,
       "log10 (m)", "log10 AM(m)", kMarcaComun, {Familia::Tiempo, 4},
       [](const LectorCampos& c, const Vector& s) {
         const std::uint32_t minM = c.SinSigno(EMinmMom);
         const int minBloques = c.Entero(EMinBloquesMom);
         return HurstMomentosAbsolutos(s, c.Entero(EDecadaMom), minM, minBloques);
       },
       LineasDeNiveles("Método de los momentos absolutos. Parámetros:", kHurstDosPuntos,
                       Entero(EMinmMom), Entero(EMinBloquesMom), Entero(EDecadaMom))},
      {metodo::kNinguno, nullptr, {}, false, false, nullptr, nullptr, 0, {}, nullptr, {}},
      {metodo::kOndiculas, "Ondíc.", {EMomentosOnd, EOctavaIni, EOctavaFin}, true, true,
       "Octava j", "log2 energía", kMarcaComun, {Familia::Ondiculas, 1},
       [](const LectorCampos& c, const Vector& s) {
         const int momentos = c.Entero(EMomentosOnd);
         const int inicial = c.Entero(EOctavaIni);
         return HurstOndiculas(s, momentos, inicial, c.Entero(EOctavaFin));
       },
       {kHurstDosPuntos, Linea("Método de ondículas (Abry-Veitch). Parámetros:"),
        Parametro("Momentos nulos de la ondícula: ", Entero(EMomentosOnd)),
        Parametro({Texto("Octavas: "), Entero(EOctavaIni), Texto(" a "),
                   CifraEntera(cifra::kOctavaFinal)})}},
      {metodo::kPeriodograma, "Period.", {CBPorcentaje}, true, false, "log10 (frecuencia)",
       "log10 (Periodograma)", kMarcaPeriodograma, {Familia::Frecuencia, 1},
       [](const LectorCampos& c, const Vector& s) {
         return HurstPeriodograma(s, c.Simple(CBPorcentaje));
       },
       {kHurst, Linea("Método del periodograma. Parámetros:"),
        Parametro("Porcentaje de frecuencias: ", Real(CBPorcentaje))}},
      {metodo::kRS, nullptr, {EMind, EMinRS, EBloques, EDecadaRS}, true, false, "log10 (d)",
       "log10 (R/S)", kMarcaRS, {Familia::Tiempo, 1},
       [](const LectorCampos& c, const Vector& s) {
         const std::uint32_t minD = c.SinSigno(EMind);
         const int minMuestras = c.Entero(EMinRS);
         const int bloques = c.Entero(EBloques);
         return HurstRS(s, c.Entero(EDecadaRS), bloques, minD, minMuestras);
       },
       {kHurst, Linea("Método R/S. Parámetros:"),
        Parametro("Mínimo valor de 'd': ", Entero(EMind)),
        Parametro("Mínimo nº de muestras R/S: ", Entero(EMinRS)),
        Parametro("Número de bloques: ", Entero(EBloques)),
        Parametro("Puntos por década: ", Entero(EDecadaRS))}},
      {"T0 (IDC)", nullptr, {EInicial, EFinal, EDecada}, false, false, "log10 t (segs)",
       "log10 (IDC-1)", kMarcaComun, {},
       [](const LectorCampos& c, const Vector& s) {
         const double inicial = c.Real(EInicial);
         const double final_ = c.Real(EFinal);
         return T0IDC(s, c.Entero(EDecada), inicial, final_);
       },
       {Linea({Texto("Tiempo de comienzo fractal : T0 = "), Valor(), Texto(" seg.")}),
        Linea("Método de IDC (T0). Parámetros:"),
        Parametro({Texto("Escala de tiempos inicial: "), Real(EInicial), Texto(" seg.")}),
        Parametro({Texto("Escala de tiempos final: "), Real(EFinal), Texto(" seg.")}),
        Parametro("Puntos por década: ", Entero(EDecada))},
       false},
      {metodo::kTestT, nullptr, {EstacionEBloques, ESigni}, false, false, nullptr, nullptr, 0,
       {},
       [](const LectorCampos& c, const Vector& s) {
         const std::uint32_t bloques = c.ComoSinSigno(EstacionEBloques);
         return TestT(s, bloques, c.Real(ESigni));
       },
       {Linea({Texto("Probabilidad: P = "), Valor(), Texto("    Parámetro Hurst "),
               SegunCifra(cifra::kConstante, "constante", "no constante")}),
        Linea("Test de estacionariedad. Parámetros:"),
        Parametro("Número de bloques: ", Entero(EstacionEBloques)),
        Parametro("Significancia: ", Real(ESigni))}},
      {metodo::kVarianza, "Var.", {EMinm, EMinVar, EDecadaVar, ChLineal}, true, false,
       "log10 (m)", "log10 (Varianza)", kMarcaComun, {Familia::Tiempo, 2}, Varianza,
       [] {
         auto lineas = LineasDeNiveles("Método de la varianza. Parámetros:", kHurst,
                                       Entero(EMinm), Entero(EMinVar), Entero(EDecadaVar));
         lineas.push_back(Linea(
             {SegunCifra(cifra::kRecta,
                         "La gráfica log10 (Var.) vs log10 (m) es aprox. una línea recta. No "
                         "existen saltos en la media ni tendencias lentamente decrecientes "
                         "(no estacionariedades)",
                         "La gráfica log10 (Var.) vs log10 (m) no es una línea recta. No "
                         "estacionariedad presente")},
             Si(ChLineal, 1)));
         return lineas;
       }()},
      {"Varianza Difer.", "Var. dif.",
       {ChMismos, EMinmDif, EMinVarDif, EDecadaVarDif, EMinm, EMinVar, EDecadaVar}, true,
       false, "log10 (m)", "log10 (Varianza diferenciada)", kMarcaComun, {Familia::Tiempo, 3},
       VarianzaDiferenciada,
       LineasDeNiveles("Método de la varianza diferenciada. Parámetros:", kHurst,
                       Elegido(ChMismos, EMinm, EMinmDif),
                       Elegido(ChMismos, EMinVar, EMinVarDif),
                       Elegido(ChMismos, EDecadaVar, EDecadaVarDif))},
      {"Whittle Agregado", "W. agr.", {CBNivel, RGDensidad}, true, true, nullptr, nullptr, 0,
       {Familia::Frecuencia, 4},
       [](const LectorCampos& c, const Vector& s) {
         const SumaDensidad suma = Densidad(c);
         return HurstWhittleAgregado(s, c.ComoSinSigno(CBNivel), suma);
       },
       {kHurstDosPuntos, Linea("Método de Whittle agregado. Parámetros:"),
        Parametro("Nivel de agregación: ", Entero(CBNivel)),
        Parametro("Densidad espectral: ", Texto("exacta"), Si(RGDensidad, 1))}},
      {"Whittle Estándar", "W. est.", {RGModelo, RGDensidad, EOrdenp, EOrdenq}, true, true,
       nullptr, nullptr, 0, {Familia::Frecuencia, 3}, WhittleEstandar,
       {kHurstDosPuntos,
        Linea({Texto("Parámetros AR: "), Cifras(cifra::kPrefijoAR)}, NoEs(RGModelo, 0)),
        Linea({Texto("Parámetros MA: "), Cifras(cifra::kPrefijoMA)}, NoEs(RGModelo, 0)),
        Linea({Texto("Método de Whittle estándar. Modelo "),
               SegunCampo(RGModelo, "FGN", "FARIMA")}),
        Parametro("Densidad espectral: ", Texto("exacta"), Si(RGModelo, 0), Si(RGDensidad, 1))}},
      {"Whittle Local", "W. local", {CBFactor}, true, true, nullptr, nullptr, 0,
       {Familia::Frecuencia, 5},
       [](const LectorCampos& c, const Vector& s) {
         return HurstWhittleLocal(s, c.ComoSinSigno(CBFactor));
       },
       {kHurstDosPuntos, Linea("Método de Whittle local. Parámetros:"),
        Parametro("Factor m: ", Entero(CBFactor))}},
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
