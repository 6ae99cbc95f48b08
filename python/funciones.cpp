#include "python/funciones.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "app/analisis.h"
#include "app/generacion.h"
#include "app/metodos.h"
#include "app/parametros.h"
#include "app/resultados.h"
#include "app/series.h"
#include "capturas/capturas.h"
#include "numeric/progreso.h"
#include "python/ejecucion.h"
#include "python/serie.h"

namespace py = pybind11;

namespace {

// fenwa.Rechazo, created once by CrearRechazo.
PyObject* tipoRechazo = nullptr;

std::string Unir(const std::vector<std::string>& partes, const std::string& separador) {
  std::string t;
  for (std::size_t i = 0; i < partes.size(); ++i) t += (i ? separador : "") + partes[i];
  return t;
}

std::string Repr(const py::handle& objeto) { return py::repr(objeto).cast<std::string>(); }

// A decimal in its shortest form that reads back as the same double ("0.8", "1e-07").
std::string Decimal(double x) {
  char buf[40];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
}

// A file name given as str, bytes or os.PathLike.
std::string Ruta(const py::handle& fichero) {
  return py::module_::import("os").attr("fspath")(fichero).cast<std::string>();
}

// ---- the method and field tables ---------------------------------------------------

// The fields a method reads, in the order of its row; for "Todos", those of every method
// that yields H; for a name outside the table, nullopt.
std::optional<std::vector<const DefinicionCampo*>> CamposDeMetodo(const std::string& metodo) {
  std::vector<const DefinicionCampo*> campos;
  const auto anadir = [&](const DefinicionMetodo& m) {
    for (const char* clave : m.campos) {
      const DefinicionCampo* c = BuscarCampo(clave);
      bool visto = false;
      for (const DefinicionCampo* d : campos) visto = visto || d == c;
      if (c && !visto) campos.push_back(c);
    }
  };
  if (metodo == metodo::kTodos) {
    for (const DefinicionMetodo& m : TablaMetodos())
      if (m.daH && m.Calcula()) anadir(m);
    return campos;
  }
  const DefinicionMetodo* m = BuscarMetodo(metodo);
  if (!m) return std::nullopt;
  anadir(*m);
  return campos;
}

[[noreturn]] void MetodoDesconocido(const std::string& metodo) {
  throw py::value_error("método desconocido: '" + metodo + "'; los métodos son " +
                        Unir(NombresMetodos(), ", ") + " y " + metodo::kTodos);
}

// A field's default with the Python type of its kind: integers for integer fields, lists
// and radio groups, floats for decimal fields, booleans for check boxes.
py::object ValorPorOmision(const DefinicionCampo& c) {
  switch (c.tipo) {
    case TipoCampo::Entero:
    case TipoCampo::ListaEntera:
    case TipoCampo::Opciones:
      if (const std::optional<int> v = LeerEntero(c.omision)) return py::int_(*v);
      return py::str(c.omision);
    case TipoCampo::Decimal:
    case TipoCampo::ListaDecimal:
      return py::float_(ConvertirReal(c.omision));
    case TipoCampo::Casilla:
      return py::bool_(std::string_view(c.omision) == "1");
  }
  return py::str(c.omision);
}

// The text of a field's value as fenwa-cli -p CAMPO=VALOR would give it: booleans as 1 or 0,
// integers in decimal, floats in their shortest exact form, texts as they are.
std::string TextoDeCampo(const std::string& clave, const py::handle& valor) {
  PyObject* v = valor.ptr();
  if (PyBool_Check(v)) return v == Py_True ? "1" : "0";
  if (PyUnicode_Check(v)) return valor.cast<std::string>();
  if (PyIndex_Check(v)) {
    const py::object entero = py::reinterpret_steal<py::object>(PyNumber_Index(v));
    if (!entero) throw py::error_already_set();
    return py::str(entero).cast<std::string>();
  }
  if (PyFloat_Check(v) || py::hasattr(valor, "__float__")) {
    const double x = PyFloat_AsDouble(v);
    if (x == -1.0 && PyErr_Occurred()) throw py::error_already_set();
    return Decimal(x);
  }
  throw py::type_error("el valor del campo " + clave +
                       " debe ser un número, un booleano o un texto, no " + Repr(valor));
}

// ---- the analysis as the dict of fenwa-cli --json ------------------------------------

// A number of the JSON: None where the JSON has null (absent, NaN or infinite).
py::object Numero(const std::optional<double>& x) {
  if (!x || !std::isfinite(*x)) return py::none();
  return py::float_(*x);
}

py::object Intervalo(const std::optional<double>& bajo, const std::optional<double>& alto) {
  if (!bajo || !alto) return py::none();
  py::list ic;
  ic.append(Numero(bajo));
  ic.append(Numero(alto));
  return ic;
}

py::object Opcional(std::optional<std::vector<double>>& v) {
  if (!v) return py::none();
  return ArregloDe(std::move(*v));
}

// The keys and values of fenwa-cli's JSON object, in its order (aviso only when there is
// one); x and y as numpy arrays, and the autocorrelation as one when it was asked for.
py::dict Diccionario(const std::string& nombre, std::uint32_t longitud, const std::string& metodo,
                     ResultadoAnalisis& r, const std::vector<std::string>& informe,
                     bool autocorrelacion) {
  py::dict d;
  d["nombre"] = nombre;
  d["longitud"] = longitud;
  d["metodo"] = metodo;
  d["estado"] = r.estado;
  d["mensaje"] = r.mensaje.empty() ? py::object(py::none()) : py::object(py::str(r.mensaje));
  d["valor"] = Numero(r.valor);
  d["ic"] = Intervalo(r.icBajo, r.icAlto);
  if (!r.aviso.empty()) d["aviso"] = r.aviso;
  if (r.coeficientes.empty()) {
    d["coeficientes"] = py::none();
  } else {
    py::list c;
    for (const double x : r.coeficientes) c.append(Numero(x));
    d["coeficientes"] = c;
  }
  d["constante"] = r.constante ? py::object(py::int_(*r.constante)) : py::object(py::none());
  d["x"] = Opcional(r.x);
  if (metodo == metodo::kTodos) {
    py::list metodos;
    for (const ResultadoAnalisis::MetodoComparado& m : r.metodos) {
      py::dict f;
      f["metodo"] = m.metodo;
      f["estado"] = m.estado;
      f["mensaje"] = m.mensaje.empty() ? py::object(py::none()) : py::object(py::str(m.mensaje));
      f["valor"] = Numero(m.valor);
      f["ic"] = Intervalo(m.icBajo, m.icAlto);
      if (!m.aviso.empty()) f["aviso"] = m.aviso;
      metodos.append(f);
    }
    d["metodos"] = metodos;
  }
  d["y"] = Opcional(r.y);
  d["media"] = Numero(r.media);
  d["varianza"] = Numero(r.varianza);
  py::list lineas;
  for (const std::string& linea : informe) lineas.append(linea);
  d["informe"] = lineas;
  if (autocorrelacion) d["autocorrelacion"] = Opcional(r.autocorrelacion);
  return d;
}

// Only a cancellation asked from here stops a computation, and EjecutarSinGil has raised its
// exception then; this is for completeness.
[[noreturn]] void Interrumpido() {
  PyErr_SetNone(PyExc_KeyboardInterrupt);
  throw py::error_already_set();
}

[[noreturn]] void LanzarRechazo(int estado, const std::string& mensaje, const py::object& resultado) {
  py::object error = py::reinterpret_borrow<py::object>(tipoRechazo)(mensaje);
  error.attr("estado") = estado;
  error.attr("mensaje") = mensaje;
  error.attr("resultado") = resultado;
  PyErr_SetObject(tipoRechazo, error.ptr());
  throw py::error_already_set();
}

// A message of several lines (those of the dialogs) in one line, as fenwa-cli writes it.
std::string EnUnaLinea(std::string texto) {
  for (char& c : texto)
    if (c == '\n') c = ' ';
  return texto;
}

}  // namespace

void CrearRechazo(py::module_& m) {
  tipoRechazo = PyErr_NewExceptionWithDoc(
      "fenwa.Rechazo",
      "Análisis rechazado: un parámetro fuera de rango, un campo entero que no es un entero,\n"
      "una serie que el método no admite o un fallo numérico. Es un ValueError; str(error)\n"
      "y .mensaje dan el mensaje en español, .estado el código de estado (el \"estado\" de\n"
      "fenwa-cli --json) y .resultado el diccionario completo, con el informe.",
      PyExc_ValueError, nullptr);
  if (!tipoRechazo) throw py::error_already_set();
  m.add_object("Rechazo", py::reinterpret_borrow<py::object>(tipoRechazo));
}

py::list Metodos() {
  py::list nombres;
  for (const std::string& n : NombresMetodos()) nombres.append(n);
  return nombres;
}

py::object Ejes(const std::string& metodo) {
  const DefinicionMetodo* m = BuscarMetodo(metodo);
  if (!m) MetodoDesconocido(metodo);
  if (!m->Dibuja()) return py::none();
  return py::make_tuple(m->tituloX, m->tituloY);
}

py::dict Campos(const py::object& metodo) {
  py::dict d;
  if (metodo.is_none()) {
    for (const DefinicionCampo& c : TablaCampos()) d[c.clave] = ValorPorOmision(c);
    return d;
  }
  const std::string nombre = metodo.cast<std::string>();
  const auto campos = CamposDeMetodo(nombre);
  if (!campos) MetodoDesconocido(nombre);
  for (const DefinicionCampo* c : *campos) d[c->clave] = ValorPorOmision(*c);
  return d;
}

py::dict Estimar(const py::handle& serie, const std::string& metodo, const std::string& nombre,
                 bool media, bool varianza, bool autocorrelacion, const py::object& hilos,
                 const py::object& progreso, const py::kwargs& campos) {
  std::optional<std::vector<const DefinicionCampo*>> validos = CamposDeMetodo(metodo);
  if (!validos) MetodoDesconocido(metodo);
  for (const DefinicionCampo& c : TablaCampos())
    if (c.dialogo == Dialogo::Autocorrelacion) validos->push_back(&c);
  AnalysisParameters parametros;
  for (const auto& [clave, valor] : campos) {
    const std::string k = py::str(clave).cast<std::string>();
    bool valido = false;
    for (const DefinicionCampo* c : *validos) valido = valido || k == c->clave;
    if (!valido) {
      std::vector<std::string> nombres;
      for (const DefinicionCampo* c : *validos) nombres.emplace_back(c->clave);
      throw py::value_error("campo desconocido para el método " + metodo + ": '" + k +
                            "'; sus campos son " + Unir(nombres, ", "));
    }
    const std::string error = AsignarCampo(parametros, k, TextoDeCampo(k, valor));
    if (!error.empty()) throw py::value_error(error);
  }
  const OpcionesEjecucion opciones = LeerOpcionesEjecucion(hilos, progreso);
  const SeriePython datos(serie);

  SeleccionAnalisis seleccion;
  seleccion.metodo = metodo;
  seleccion.media = media;
  seleccion.varianza = varianza;
  seleccion.autocorrelacion = autocorrelacion;
  MarcasMenu marcas;  // as fenwa-cli: no date, no credits
  marcas.fechaHora = false;
  marcas.creditos = false;
  RegistroResultados log;
  EntornoAnalisis entorno;
  entorno.log = &log;
  ResultadoAnalisis r;
  EjecutarSinGil(
      [&] {
        Analizador driver(entorno);
        r = driver.Analizar(nombre, datos.Datos(), seleccion, parametros, marcas);
      },
      opciones);
  if (r.fin == ResultadoAnalisis::Fin::Cancelado) Interrumpido();
  py::dict d = Diccionario(nombre, datos.Datos().Longitud(), metodo, r, log.Lineas(), autocorrelacion);
  // Refused as fenwa-cli refuses it (exit status 2): the analysis, or a statistic of it.
  if (!r.Todo()) LanzarRechazo(r.estado, r.mensaje, d);
  return d;
}

py::array_t<double> Leer(const py::object& fichero, const py::object& hilos, const py::object& progreso) {
  const std::string ruta = Ruta(fichero);
  const OpcionesEjecucion opciones = LeerOpcionesEjecucion(hilos, progreso);
  if (ruta != "-" && EsCaptura(ruta))
    throw py::value_error("'" + ruta + "' es una captura de paquetes, no un fichero de muestras: "
                          "cuéntela con fenwa.contar('" + ruta + "', intervalo=...)");
  Vector v;
  std::string mensaje;
  EjecutarSinGil([&] { v = ReadSampleFile(ruta, mensaje); }, opciones);
  if (v.Longitud() == 0) {
    // A file that cannot be read is an OSError; one that is not a series, a ValueError.
    if (mensaje.rfind("No puedo leer", 0) == 0) {
      PyErr_SetString(PyExc_OSError, mensaje.c_str());
      throw py::error_already_set();
    }
    throw py::value_error(mensaje);
  }
  return ArregloDe(std::move(v));
}

bool EsCapturaDePaquetes(const py::object& fichero) { return EsCaptura(Ruta(fichero)); }

py::array_t<double> Generar(const std::string& modelo, const py::object& H, const py::object& d,
                            const py::object& phi, const py::object& theta, const py::object& n,
                            const py::object& media, const py::object& desviacion,
                            const py::object& semilla, const py::object& hilos,
                            const py::object& progreso) {
  TextosGeneracion t;
  if (modelo == "fgn") t.modelo = ModeloGenerador::Fgn;
  else if (modelo == "farima") t.modelo = ModeloGenerador::Farima;
  else if (modelo == "ruido") t.modelo = ModeloGenerador::Ruido;
  else throw py::value_error("modelo desconocido: '" + modelo + "' (fgn, farima o ruido)");
  const bool fgn = t.modelo == ModeloGenerador::Fgn;
  const bool farima = t.modelo == ModeloGenerador::Farima;
  struct Argumento {
    const char* nombre;
    const py::object& valor;
    std::string* texto;
    bool aplica;
  };
  const Argumento argumentos[] = {
      {"H", H, &t.H, fgn},           {"d", d, &t.d, farima},
      {"phi", phi, &t.phi, farima},  {"theta", theta, &t.theta, farima},
      {"n", n, &t.longitud, true},   {"media", media, &t.media, true},
      {"desviacion", desviacion, &t.desviacion, true},
      {"semilla", semilla, &t.semilla, true},
  };
  for (const Argumento& a : argumentos) {
    if (a.valor.is_none()) continue;
    if (!a.aplica) throw py::value_error(std::string(a.nombre) + " no se aplica al modelo " + modelo);
    PyObject* v = a.valor.ptr();
    if (PyBool_Check(v) || !(PyUnicode_Check(v) || PyIndex_Check(v) || PyFloat_Check(v) ||
                             py::hasattr(a.valor, "__float__")))
      throw py::type_error(std::string("el valor de ") + a.nombre + " debe ser un número, no " +
                           Repr(a.valor));
    *a.texto = TextoDeCampo(a.nombre, a.valor);
  }
  const OpcionesEjecucion opciones = LeerOpcionesEjecucion(hilos, progreso);
  ParametrosGenerador p;
  const std::string invalido = LeerParametrosGeneracion(t, p);
  if (!invalido.empty()) throw py::value_error(EnUnaLinea(invalido));
  Vector datos;
  std::string rechazo;
  EjecutarSinGil([&] { rechazo = GenerarSerieSintetica(p, datos); }, opciones);
  if (!rechazo.empty()) throw py::value_error(EnUnaLinea(rechazo));
  return ArregloDe(std::move(datos));
}

py::array_t<std::int64_t> Contar(const py::object& capturas, const py::object& intervalo, bool bytes,
                                 const py::object& filtro, const py::object& formato,
                                 const py::object& hilos, const py::object& progreso) {
  std::vector<std::string> rutas;
  const py::object os = py::module_::import("os");
  if (py::isinstance<py::str>(capturas) || py::isinstance<py::bytes>(capturas) ||
      py::isinstance(capturas, os.attr("PathLike"))) {
    rutas.push_back(Ruta(capturas));
  } else {
    for (const py::handle& c : capturas) rutas.push_back(Ruta(c));
  }
  if (rutas.empty()) throw py::value_error("no se ha indicado ninguna captura");

  OpcionesConteo c;
  std::string texto;
  if (PyUnicode_Check(intervalo.ptr())) {
    texto = intervalo.cast<std::string>();
  } else if (!PyBool_Check(intervalo.ptr()) &&
             (PyIndex_Check(intervalo.ptr()) || PyFloat_Check(intervalo.ptr()))) {
    texto = TextoDeCampo("intervalo", intervalo);  // seconds, as --intervalo 0.01
  } else {
    throw py::type_error("el intervalo debe ser un texto (\"10ms\") o un número de segundos, no " +
                         Repr(intervalo));
  }
  std::string error;
  const std::optional<std::int64_t> w = LeerIntervalo(texto, error);
  if (!w) throw py::value_error(error);
  c.intervalo = *w;
  c.bytes = bytes;
  if (!filtro.is_none()) c.filtro = filtro.cast<std::string>();
  if (!formato.is_none()) {
    const std::string f = formato.cast<std::string>();
    if (f == "texto") c.formato = FormatoEntrada::Texto;
    else if (f == "captura") c.formato = FormatoEntrada::Captura;
    else throw py::value_error("el formato debe ser texto o captura y no '" + f + "'");
  }
  c.progreso = [](const AvanceConteo& a) { Avance(a.Fraccion()); };
  const OpcionesEjecucion opciones = LeerOpcionesEjecucion(hilos, progreso);

  ResultadoConteo r;
  EjecutarSinGil([&] { r = ContarCapturas(rutas, c); }, opciones);
  if (r.estado == EstadoConteo::Cancelado) Interrumpido();
  // A cut capture is counted up to its last whole packet, with a warning.
  for (const std::string& aviso : r.avisos)
    if (PyErr_WarnEx(PyExc_UserWarning, aviso.c_str(), 1) != 0) throw py::error_already_set();
  if (!r.Exito()) {
    std::string mensaje = r.error;
    if (r.pareceTexto)
      mensaje += "; si es una traza de texto (una línea por paquete con su hora en segundos y su "
                 "tamaño en bytes), léala con formato=\"texto\"";
    throw py::value_error(mensaje);
  }
  return ArregloDe(std::move(r.cuentas));
}
