// Times the comparison of every method that yields H ("Comparar métodos", fenwa-cli -m
// Todos) on 1,000,000 samples of exact FGN with H = 0.8 and the default parameters, best
// of a few runs, as elapsed and processor time, and each method alone for the breakdown.
// Usage: bench_comparacion [samples] [runs]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

#include "app/analisis.h"
#include "bench/comun.h"
#include "app/metodos.h"
#include "estimators/estado.h"
#include "numeric/generador.h"

namespace {


}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t n = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const int veces = argc > 2 ? std::atoi(argv[2]) : 3;
  ParametrosGenerador g;
  g.H = 0.8;
  g.n = n;
  g.semilla = 1;
  Vector serie;
  if (GenerarSerie(g, serie) != kGeneradorOk) return 1;

  const AnalysisParameters parametros;
  std::printf("Comparación de métodos, %llu muestras de FGN (H = 0.8), mejor de %d\n",
              static_cast<unsigned long long>(n), veces);
  for (const DefinicionMetodo& m : TablaMetodos()) {
    if (!m.daH) continue;
    Estimacion e;
    const Tiempo t =
        Mejor(veces, [&] { e = EjecutarMetodo(m, serie, parametros, '.').estimacion; });
    std::printf("  %-20s %7.3f s  (cpu %7.3f s)  estado %d  H = %.4f\n", m.nombre, t.pared,
                t.cpu, e.estado, e.valor);
  }
  RegistroResultados log;
  EntornoAnalisis entorno;
  entorno.log = &log;
  Analizador driver(entorno);
  SeleccionAnalisis seleccion;
  seleccion.metodo = metodo::kTodos;
  seleccion.media = seleccion.varianza = false;
  MarcasMenu marcas;
  marcas.fechaHora = marcas.creditos = false;
  const Tiempo t = Mejor(veces, [&] { driver.Analizar("fgn", serie, seleccion, parametros, marcas); });
  std::printf("  %-20s %7.3f s  (cpu %7.3f s)  límite 4 s\n", "Todos", t.pared, t.cpu);
  return 0;
}
