#include "cli/salidas_comparacion.h"

#include "app/comparacion.h"
#include "app/generacion.h"

bool LeerOpcionComparacion(const std::string& arg,
                           const std::function<std::string(std::string&)>& valor,
                           OpcionesComparacion& o, std::string& error) {
  if (arg != "--csv" && arg != "--referencia") return false;
  std::string v;
  error = valor(v);
  if (!error.empty()) return true;
  if (arg == "--csv") {
    o.csv = v;
    return true;
  }
  const std::optional<double> h = LeerDecimal(v);
  if (!h || *h < 0.0 || *h > 1.0) {
    error = "el valor de --referencia debe ser un número entre 0 y 1 y no '" + v + "'";
    return true;
  }
  o.referencia = *h;
  return true;
}

std::string AyudaComparacion() {
  return "      --csv RUTA           guardar los resultados en RUTA como CSV (metodo, valor,\n"
         "                           inferior, superior, estado, mensaje): una fila por\n"
         "                           método con -m Todos, una con cualquier otro\n"
         "      --referencia H       con -m Todos, línea de referencia en H en la gráfica\n";
}

std::string EscribirCsv(const OpcionesComparacion& o, const std::string& nombre,
                        const std::string& contenido) {
  if (!o.csv) return {};
  std::string ruta = *o.csv;
  const std::string marca = "{nombre}";
  for (std::size_t p = ruta.find(marca); p != std::string::npos;
       p = ruta.find(marca, p + nombre.size()))
    ruta.replace(p, marca.size(), nombre);
  const std::string mensaje = EscribirTextoCompleto(ruta, contenido);
  return mensaje.empty() ? std::string() : "fenwa-cli: " + mensaje + "\n";
}
