// The accuracy table of the manual (docs/precision.md): every method that yields H, with
// the default parameters, on generated exact FGN with H = 0.5 ... 0.9 at n = 1,000, 10,000
// and 100,000, and on FARIMA(1, d, 1) with d = 0.3, φ = 0.5, θ = −0.3 (H = d + 0.5 = 0.8)
// at n = 10,000. For each method and case: bias, standard deviation and root mean square
// error of the estimates, coverage of the 95 % interval where the method gives one, the
// refusals, and the median time of one estimate. The FARIMA case adds "Whittle Estándar"
// with the FARIMA(1, d, 1) model, the model that generated it. Seeds 1, 2, ...; the
// output is Markdown.
//
// Usage: bench_precision [semillas_cortas] [semillas_largas] [hilos]
// (defaults 200, 50 and 2: seeds for n = 1,000 and 10,000, seeds for n = 100,000, threads;
// 200 seeds put a coverage of 95 % within about ±1.5 %). The estimates do not depend on
// the number of threads; the times do a little.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/utsname.h>

#include "app/formato.h"
#include "app/metodos.h"
#include "estimators/estado.h"
#include "numeric/generador.h"

namespace {

// A method as a row of the table: a method of the method table with the parameters it
// runs with.
struct Variante {
  const DefinicionMetodo* metodo = nullptr;
  std::string etiqueta;           // the first column
  AnalysisParameters parametros;  // the defaults, unless the row says otherwise
};

struct Caso {
  std::string titulo;       // e.g. "FGN, n = 10000"
  ParametrosGenerador modelo;
  double H = 0.0;           // the true H
  int semillas = 0;
  std::vector<Variante> extra;  // rows beyond the methods with their default parameters
  std::vector<Variante> filas;  // every row of its table: the methods, then the extra rows
};

// What one method gave on one series.
struct Medida {
  bool rechazada = true;
  double H = 0.0;
  bool intervalo = false;
  double bajo = 0.0, alto = 0.0;
  double segundos = 0.0;
};

// The estimates of every row on one series.
std::vector<Medida> Estimar(const Vector& serie, const std::vector<Variante>& metodos) {
  std::vector<Medida> r(metodos.size());
  for (std::size_t i = 0; i < metodos.size(); ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    Estimacion e = Estimacion::Rechazo(-1);
    try {
      e = EjecutarMetodo(*metodos[i].metodo, serie, metodos[i].parametros, '.').estimacion;
    } catch (const std::exception&) {
    }
    r[i].segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!e.Exito() || !std::isfinite(e.valor)) continue;
    r[i].rechazada = false;
    r[i].H = e.valor;
    r[i].intervalo = e.hayIntervalo;
    r[i].bajo = e.inferior;
    r[i].alto = e.superior;
  }
  return r;
}

// Fixed notation with a point, whatever the locale.
std::string Num(double x, int decimales) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimales);
  std::string t(buf, r.ptr);
  // No "-0.0000": a bias that rounds to zero is written without its sign.
  if (t.find_first_not_of("-0.") == std::string::npos && t[0] == '-') t.erase(0, 1);
  return t;
}

// A time in milliseconds with three significant digits at most (at least one decimal).
std::string Milisegundos(double segundos) {
  const double ms = segundos * 1e3;
  const int decimales = ms >= 100 ? 0 : ms >= 10 ? 1 : ms >= 1 ? 2 : 3;
  return Num(ms, decimales);
}

int Argumento(int argc, char** argv, int i, int omision) {
  if (argc <= i) return omision;
  int valor = 0;
  const char* fin = argv[i] + std::string(argv[i]).size();
  const auto r = std::from_chars(argv[i], fin, valor);
  if (r.ec != std::errc() || r.ptr != fin || valor < 1) {
    std::fprintf(stderr, "bench_precision: argumento no válido: %s\n", argv[i]);
    std::exit(1);
  }
  return valor;
}

std::string Maquina() {
  std::string cpu;
  std::ifstream f("/proc/cpuinfo");
  for (std::string linea; std::getline(f, linea);) {
    if (linea.rfind("model name", 0) == 0) {
      cpu = linea.substr(linea.find(':') + 2);
      break;
    }
  }
  utsname u{};
  uname(&u);
  return cpu + ", " + std::to_string(std::thread::hardware_concurrency()) + " núcleos, " +
         u.sysname + " " + u.release;
}

}  // namespace

int main(int argc, char** argv) {
  const int semillasCortas = Argumento(argc, argv, 1, 200);
  const int semillasLargas = Argumento(argc, argv, 2, 50);
  const int hilos = Argumento(argc, argv, 3, 2);

  std::vector<Variante> metodos;
  for (const DefinicionMetodo& m : TablaMetodos()) {
    if (m.daH) metodos.push_back({&m, m.nombre, AnalysisParameters()});
  }

  std::vector<Caso> casos;
  for (const std::uint64_t n : {1000u, 10000u, 100000u}) {
    for (const double H : {0.5, 0.6, 0.7, 0.8, 0.9}) {
      Caso c;
      c.titulo = "FGN, n = " + std::to_string(n);
      c.modelo.modelo = ModeloGenerador::Fgn;
      c.modelo.H = H;
      c.modelo.n = n;
      c.H = H;
      c.semillas = n >= 100000 ? semillasLargas : semillasCortas;
      casos.push_back(c);
    }
  }
  {
    Caso c;
    c.titulo = "FARIMA(1, d, 1), d = 0.3, φ = 0.5, θ = −0.3, n = 10000";
    c.modelo.modelo = ModeloGenerador::Farima;
    c.modelo.d = 0.3;
    c.modelo.phi = 0.5;
    c.modelo.theta = -0.3;
    c.modelo.n = 10000;
    c.H = 0.8;
    c.semillas = semillasCortas;
    // Standard Whittle (the method whose page starts with the model choice) with the
    // model that generated the series.
    for (const DefinicionMetodo& m : TablaMetodos()) {
      if (m.campos.empty() || std::string(m.campos.front()) != campo::RGModelo) continue;
      Variante farima{&m, std::string(m.nombre) + ", FARIMA(1, d, 1)", AnalysisParameters()};
      farima.parametros[campo::RGModelo] = "1";
      farima.parametros[campo::EOrdenp] = "1";
      farima.parametros[campo::EOrdenq] = "1";
      c.extra.push_back(farima);
    }
    casos.push_back(c);
  }

  for (Caso& c : casos) {
    c.filas = metodos;
    c.filas.insert(c.filas.end(), c.extra.begin(), c.extra.end());
  }

  std::printf("# Precisión de los estimadores de H\n\n");
  std::printf("Generado con `build/bin/bench_precision %d %d %d` en %s.\n\n", semillasCortas,
              semillasLargas, hilos, Maquina().c_str());
  std::printf(
      "Cada fila resume las estimaciones de un método con los parámetros por omisión (salvo "
      "la fila que nombra otro modelo) sobre "
      "series generadas con el generador del programa (semillas 1, 2, ...): sesgo (media de "
      "Ĥ − H), desviación típica (DT) y raíz del error cuadrático medio (RECM) de las "
      "estimaciones aceptadas, cobertura del intervalo de confianza del 95 %% (proporción de "
      "series en las que contiene el H verdadero; «—» si el método no da intervalo), "
      "rechazos (series en las que el método no da estimación) y mediana del tiempo de una "
      "estimación (con %d hilos trabajando a la vez, uno por serie).\n", hilos);

  // Every case first (the estimates of every method on every seed), then the tables,
  // method by method within each model and length.
  std::vector<std::vector<std::vector<Medida>>> resultados;
  for (const Caso& caso : casos) {
    // The series of every seed, estimated by every method, spread over the threads by a
    // fixed rule (seed s to thread s mod hilos).
    std::vector<std::vector<Medida>> porSemilla(static_cast<std::size_t>(caso.semillas));
    std::vector<std::thread> trabajadores;
    for (int t = 0; t < hilos; ++t) {
      trabajadores.emplace_back([&, t] {
        for (int s = t; s < caso.semillas; s += hilos) {
          ParametrosGenerador p = caso.modelo;
          p.semilla = static_cast<std::uint64_t>(s + 1);
          Vector serie;
          if (GenerarSerie(p, serie) != kGeneradorOk) continue;
          porSemilla[static_cast<std::size_t>(s)] = Estimar(serie, caso.filas);
        }
      });
    }
    for (std::thread& t : trabajadores) t.join();
    resultados.push_back(std::move(porSemilla));
  }

  for (std::size_t primero = 0; primero < casos.size();) {
    std::size_t ultimo = primero;
    while (ultimo < casos.size() && casos[ultimo].titulo == casos[primero].titulo) ++ultimo;
    std::printf("\n## %s (%d series por valor de H)\n\n", casos[primero].titulo.c_str(),
                casos[primero].semillas);
    std::printf("| Método | H | sesgo | DT | RECM | cobertura | rechazos | tiempo (mediana) |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    const std::size_t filas = casos[primero].filas.size();
    for (std::size_t i = 0; i < filas; ++i) {
      for (std::size_t c = primero; c < ultimo; ++c) {
        const Caso& caso = casos[c];
        std::vector<double> errores, tiempos;
        int rechazos = 0, conIntervalo = 0, cubren = 0;
        for (const auto& estimaciones : resultados[c]) {
          if (estimaciones.empty()) continue;
          const Medida& e = estimaciones[i];
          tiempos.push_back(e.segundos);
          if (e.rechazada) {
            ++rechazos;
            continue;
          }
          errores.push_back(e.H - caso.H);
          if (e.intervalo) {
            ++conIntervalo;
            if (e.bajo <= caso.H && caso.H <= e.alto) ++cubren;
          }
        }
        std::sort(tiempos.begin(), tiempos.end());
        const double mediana = tiempos.empty() ? 0.0 : tiempos[tiempos.size() / 2];
        std::string sesgo = "—", dt = "—", recm = "—", cobertura = "—";
        if (!errores.empty()) {
          double suma = 0.0, cuadrados = 0.0, ecm = 0.0;
          for (const double e : errores) suma += e;
          const double media = suma / static_cast<double>(errores.size());
          for (const double e : errores) {
            cuadrados += (e - media) * (e - media);
            ecm += e * e;
          }
          sesgo = Num(media, 4);
          if (errores.size() > 1) {
            dt = Num(std::sqrt(cuadrados / static_cast<double>(errores.size() - 1)), 4);
          }
          recm = Num(std::sqrt(ecm / static_cast<double>(errores.size())), 4);
        }
        if (conIntervalo > 0) cobertura = Num(100.0 * cubren / conIntervalo, 0) + " %";
        std::printf("| %s | %s | %s | %s | %s | %s | %d de %zu | %s ms |\n",
                    c == primero ? caso.filas[i].etiqueta.c_str() : "",
                    Num(caso.H, 1).c_str(), sesgo.c_str(), dt.c_str(), recm.c_str(),
                    cobertura.c_str(), rechazos, tiempos.size(), Milisegundos(mediana).c_str());
      }
    }
    primero = ultimo;
  }
  return 0;
}
