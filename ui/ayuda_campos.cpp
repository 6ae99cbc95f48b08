#include "ui/ayuda_campos.h"

#include <string_view>

#include "app/parametros.h"

namespace {

using namespace campo;

const AyudaCampo kAyudas[] = {
    {EMind, "≥ 2", "Menor longitud d de los bloques cuyo rango reescalado se calcula."},
    {EMinRS, "≥ 1", "Mínimo de bloques de una longitud d para que esa longitud cuente."},
    {EBloques, "2 a 15",
     "La serie se recorre con bloques que empiezan cada n/bloques muestras."},
    {EDecadaRS, "1 a 20", "Longitudes d por década en la recta log-log."},
    {EMinm, "≥ 1", "Menor nivel de agregación m: bloques de m muestras."},
    {EMinVar, "≥ 10", "Mínimo de medias de bloque que debe dejar cada nivel m."},
    {EDecadaVar, "1 a 20", "Niveles de agregación m por década en la recta log-log."},
    {ChLineal, "",
     "Comprueba si la recta log (Var) frente a log (m) se curva, señal de saltos en la "
     "media o de tendencias (no estacionariedad)."},
    {EMinmDif, "≥ 1", "Menor nivel de agregación m."},
    {EMinVarDif, "≥ 10", "Mínimo de medias de bloque que debe dejar cada nivel m."},
    {EDecadaVarDif, "1 a 20", "Niveles de agregación m por década."},
    {ChMismos, "", "Usa los tres valores de la página «Varianza» en lugar de los de esta."},
    {CBPorcentaje, "hasta 20",
     "Porcentaje de las frecuencias, desde la más baja, que entran en la recta del "
     "periodograma (al menos 5 frecuencias)."},
    {RGModelo, "",
     "Modelo espectral de Whittle Estándar: ruido fraccionario gaussiano, o FARIMA con los "
     "órdenes de abajo."},
    {RGDensidad, "",
     "Densidad espectral del FGN de Whittle Estándar y Whittle Agregado: la suma de alias "
     "cortada en |k| ≤ 4 (truncada) o entera (exacta)."},
    {EOrdenp, "0 o 1", "Orden autorregresivo p del modelo FARIMA."},
    {EOrdenq, "0 o 1", "Orden de media móvil q del modelo FARIMA."},
    {CBFactor, "≥ 2",
     "Whittle Local usa la fracción 1/m más baja de las frecuencias; la serie debe tener al "
     "menos 100·m muestras."},
    {CBNivel, "≥ 1",
     "Whittle Agregado analiza las medias de bloques de este tamaño; deben quedar al menos "
     "100."},
    {EMomentosOnd, "1 a 10",
     "Momentos nulos N de la ondícula de Daubechies (filtro de 2N coeficientes): más "
     "momentos toleran tendencias de mayor grado."},
    {EOctavaIni, "≥ 1", "Primera octava j de la recta de la energía de los detalles."},
    {EOctavaFin, "0, o ≥ inicial + 2",
     "Última octava de la recta; 0 toma la última con al menos 4 coeficientes."},
    {EOrdenDFA, "1 a 3", "Grado del polinomio que se quita del perfil en cada caja."},
    {EMinCaja, "≥ orden + 2", "Número de muestras de la caja más pequeña."},
    {EDecadaDFA, "1 a 20", "Tamaños de caja por década en la recta log-log."},
    {EMinmMom, "≥ 1", "Menor nivel de agregación m de los momentos absolutos."},
    {EMinBloquesMom, "≥ 10", "Mínimo de bloques que debe dejar cada nivel m."},
    {EDecadaMom, "1 a 20", "Niveles de agregación por década."},
    {EKMax, "0, o ≥ 10", "Mayor retardo k de la curva; 0 toma el menor de n/10 y 10000."},
    {EDecadaHig, "1 a 20", "Retardos k por década en la recta log-log."},
    {EExponenteGPH, "0.3 a 0.9",
     "La regresión de GPH usa las n^a frecuencias más bajas, con a este exponente."},
    {EInicial, "> 0", "Duración en segundos del intervalo de cada muestra (10 ms = 0.01)."},
    {EFinal, "> 0 y ≥ inicial",
     "Mayor escala de tiempos, en segundos; la serie debe tener al menos 10 intervalos de "
     "esa duración."},
    {EDecada, "1 a 20", "Escalas de tiempos por década."},
    {EstacionEBloques, "≥ 2",
     "En cuántos bloques consecutivos se parte la serie; cada uno de al menos 100 muestras."},
    {ESigni, "0 a 1", "Nivel de significación α del test."},
    {RGSesgo, "", "Sesgada divide la suma de cada retardo entre n; insesgada, entre n − r."},
    {EPuntos, "1 a la longitud", "Número de retardos, desde 0."},
    {ChLongitud, "", "Tantos retardos como muestras tiene la serie."},
    {ChGuardar, "", "Ofrece guardar la autocorrelación en un fichero .atc."},
};

}  // namespace

const AyudaCampo* BuscarAyuda(const char* clave) {
  for (const AyudaCampo& a : kAyudas)
    if (std::string_view(a.clave) == clave) return &a;
  return nullptr;
}

QString ConSeparador(const char* original, QChar separador) {
  QString texto = QString::fromUtf8(original);
  // A point between digits is a decimal separator.
  for (qsizetype i = 1; i + 1 < texto.size(); ++i)
    if (texto[i] == QLatin1Char('.') && texto[i - 1].isDigit() && texto[i + 1].isDigit())
      texto[i] = separador;
  return texto;
}
