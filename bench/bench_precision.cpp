// The accuracy table of the manual (docs/precision.md): every method that yields H, with
// the default parameters, on generated exact FGN with H = 0.5 ... 0.9 at n = 1,000, 10,000
// and 100,000, and on FARIMA(1, d, 1) with d = 0.3, φ = 0.5, θ = −0.3 (H = d + 0.5 = 0.8)
// at n = 10,000. For each method and case: bias, standard deviation and root mean square
// error of the estimates, coverage of the 95 % interval where the method gives one, the
// refusals, and the median time of one estimate. Seeds 1, 2, ...; the output is Markdown.
//
// Usage: bench_precision [semillas_cortas] [semillas_largas] [hilos]
// (defaults 100, 20 and 2: seeds for n = 1,000 and 10,000, seeds for n = 100,000, threads).
// The estimates do not depend on the number of threads; the times do a little.
#include <algorithm>
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
#include "numeric/generador.h"

namespace {

struct Caso {
  std::string titulo;       // e.g. "FGN, n = 10000"
  ParametrosGenerador modelo;
  double H = 0.0;           // the true H
  int semillas = 0;
};

// What one method gave on one series.
struct Estimacion {
  bool rechazada = true;
  double H = 0.0;
  bool intervalo = false;
  double bajo = 0.0, alto = 0.0;
  double segundos = 0.0;
};

// The estimates of every method on one series.
std::vector<Estimacion> Estimar(const Vector& serie, const std::vector<const DefinicionMetodo*>& metodos) {
  const AnalysisParameters parametros;
  std::vector<Estimacion> r(metodos.size());
  for (std::size_t i = 0; i < metodos.size(); ++i) {
    BloqueMetodo b(serie, parametros, '.');
    const auto t0 = std::chrono::steady_clock::now();
    int estado = 0;
    try {
      estado = metodos[i]->bloque(b);
    } catch (const std::exception&) {
      estado = -1;
    }
    r[i].segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (estado != 0 || !std::isfinite(b.resultado.valor)) continue;
    r[i].rechazada = false;
    r[i].H = b.resultado.valor;
    r[i].intervalo = b.resultado.hayIntervalo;
    r[i].bajo = b.resultado.icBajo;
    r[i].alto = b.resultado.icAlto;
  }
  return r;
}

std::string Num(double x, int decimales) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimales, x);
  return buf;
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
  const int semillasCortas = argc > 1 ? std::atoi(argv[1]) : 100;
  const int semillasLargas = argc > 2 ? std::atoi(argv[2]) : 20;
  const int hilos = std::max(1, argc > 3 ? std::atoi(argv[3]) : 2);

  std::vector<const DefinicionMetodo*> metodos;
  for (const DefinicionMetodo& m : TablaMetodos()) {
    if (m.daH) metodos.push_back(&m);
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
    casos.push_back(c);
  }

  std::printf("# Precisión de los estimadores de H\n\n");
  std::printf("Generado con `build/bin/bench_precision %d %d %d` en %s.\n\n", semillasCortas,
              semillasLargas, hilos, Maquina().c_str());
  std::printf(
      "Cada fila resume las estimaciones de un método con los parámetros por omisión sobre "
      "series generadas con el generador del programa (semillas 1, 2, ...): sesgo (media de "
      "Ĥ − H), desviación típica (DT) y raíz del error cuadrático medio (RECM) de las "
      "estimaciones aceptadas, cobertura del intervalo de confianza del 95 %% (proporción de "
      "series en las que contiene el H verdadero; «—» si el método no da intervalo), "
      "rechazos (series en las que el método no da estimación) y mediana del tiempo de una "
      "estimación.\n");

  // Every case first (the estimates of every method on every seed), then the tables,
  // method by method within each model and length.
  std::vector<std::vector<std::vector<Estimacion>>> resultados;
  for (const Caso& caso : casos) {
    // The series of every seed, estimated by every method, spread over the threads by a
    // fixed rule (seed s to thread s mod hilos).
    std::vector<std::vector<Estimacion>> porSemilla(static_cast<std::size_t>(caso.semillas));
    std::vector<std::thread> trabajadores;
    for (int t = 0; t < hilos; ++t) {
      trabajadores.emplace_back([&, t] {
        for (int s = t; s < caso.semillas; s += hilos) {
          ParametrosGenerador p = caso.modelo;
          p.semilla = static_cast<std::uint64_t>(s + 1);
          Vector serie;
          if (GenerarSerie(p, serie) != kGeneradorOk) continue;
          porSemilla[static_cast<std::size_t>(s)] = Estimar(serie, metodos);
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
    std::printf("| Método | H | sesgo | DT | RECM | cobertura | rechazos | mediana |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (std::size_t i = 0; i < metodos.size(); ++i) {
      for (std::size_t c = primero; c < ultimo; ++c) {
        const Caso& caso = casos[c];
        std::vector<double> errores, tiempos;
        int rechazos = 0, conIntervalo = 0, cubren = 0;
        for (const auto& estimaciones : resultados[c]) {
          if (estimaciones.empty()) continue;
          const Estimacion& e = estimaciones[i];
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
                    c == primero ? metodos[i]->nombre : "", Num(caso.H, 1).c_str(),
                    sesgo.c_str(), dt.c_str(), recm.c_str(), cobertura.c_str(), rechazos,
                    tiempos.size(), Num(mediana * 1e3, 2).c_str());
      }
    }
    primero = ultimo;
  }
  return 0;
}
