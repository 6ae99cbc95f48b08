#include "estimators/estado.h"

#include "numeric/regresion.h"

// The straight-line check of numeric/ returns these statuses as they are.
static_assert(kLinealHecho == kEstadoOk && kLinealPocosPuntos == kEstadoPocosPuntos &&
              kLinealLongitudesDistintas == kEstadoLongitudesDistintas);

std::string MensajeEstado(int estado) {
  // A switch over the enumeration without a default: the build warns of a status left
  // without its message.
  switch (static_cast<EstadoEstimador>(estado)) {
    case kEstadoOk: return "";
    case kEstadoSerieCorta: return "La longitud de la serie debe ser mayor o igual que 100";
    case kEstadoPocosPuntos: return "La regresión sólo puede aplicarse con 5 o más puntos";
    case kEstadoLongitudesDistintas:
      return "Para aplicar la regresión a dos ejes de puntos,\n"
             "ambos deben tener la misma longitud";
    case kEstadoBloquesRS: return "El número de bloques debe estar comprendido entre 2 y 15";
    case kEstadoPuntosDecada:
      return "El número de puntos por década debe\n"
             "estar comprendido entre 1 y 20";
    case kEstadoMinMuestrasRS:
      return "El número mínimo de muestras R/S\n"
             "debe ser mayor o igual que 1";
    case kEstadoMinD: return "El mínimo valor de 'd' debe ser mayor o igual que 2";
    case kEstadoMinMuestrasVarianza:
      return "El mínimo número de muestras para la\n"
             "varianza debe ser mayor o igual que 10";
    case kEstadoMinM: return "El mínimo valor de 'm' debe ser mayor o igual que 1";
    case kEstadoPorcentaje: return "El porcentaje de frecuencias debe ser menor o igual que 20";
    case kEstadoOrdenesFarima:
      return "Los órdenes del método FARIMA, p y q,\n"
             "deben estar comprendidos entre 0 y 1";
    case kEstadoFactorLocal:
      return "El factor m debe ser mayor o igual que 2, y tal que la serie\n"
             "resultante tenga una longitud mayor o igual que 100";
    case kEstadoNivelAgregado:
      return "El nivel de agregación debe ser mayor o igual que 1, y tal que la serie "
             "resultante de agregar tenga una longitud mayor o igual que 100";
    case kEstadoTiemposIdc: return "Los tiempos inicial y final deben\nser mayores que 0 segundos";
    case kEstadoEscalaFinalIdc:
      return "La escala de tiempos final debe ser tal que el número de\n"
             "muestras para el cálculo de la varianza sea al menos 10";
    case kEstadoBloquesTestT:
      return "El número de bloques debe ser tal que las series resultantes\n"
             "tengan una longitud mayor o igual que 100";
    case kEstadoSignificancia: return "La significancia debe estar comprendida entre 0 y 1";
    case kEstadoSerieConstante: return "La serie es constante: no tiene parámetro de Hurst";
    case kEstadoBloqueSinVarianzaRS:
      return "Hay un bloque de la serie con varianza nula:\n"
             "no puede calcularse el estadístico R/S";
    case kEstadoNivelSinVarianza:
      return "La serie agregada tiene varianza nula en algún nivel:\n"
             "no puede calcularse el logaritmo de la varianza";
    case kEstadoDiferenciaNula:
      return "Dos niveles de agregación consecutivos tienen la misma varianza:\n"
             "la varianza diferenciada es nula";
    case kEstadoIdcUno:
      return "El índice de dispersión (IDC) vale exactamente 1 en alguna escala:\n"
             "no puede calcularse log10 (IDC-1)";
    case kEstadoIdcMediaNoPositiva:
      return "La media de la serie en alguna escala no es positiva:\n"
             "el índice de dispersión (IDC) no está definido";
    case kEstadoAjusteSingular: return "La regresión necesita al menos dos abscisas distintas";
    case kEstadoPeriodogramaNulo:
      return "Alguna ordenada del periodograma es nula:\n"
             "no puede calcularse su logaritmo";
    case kEstadoResultadoNoFinito:
      return "El resultado de la estimación no puede representarse\n"
             "como un número finito";
    case kEstadoAutocorrelacionConstante:
      return "La serie es constante: su autocorrelación no está definida";
    case kEstadoErrorNumerico: return "error en tiempo de ejecución";
    case kEstadoMomentosOndicula:
      return "El número de momentos nulos de la ondícula debe\n"
             "estar comprendido entre 1 y 10";
    case kEstadoOctavaInicial: return "La octava inicial debe ser mayor o igual que 1";
    case kEstadoOctavaFinal:
      return "La octava final debe ser 0 (automática) o mayor\n"
             "o igual que la octava inicial más 2";
    case kEstadoPocasOctavas:
      return "La regresión de las ondículas necesita al menos 3 octavas:\n"
             "la serie es demasiado corta para las octavas elegidas";
    case kEstadoEnergiaNula:
      return "La energía de los detalles es nula en alguna octava:\n"
             "no puede calcularse su logaritmo";
    case kEstadoOrdenDfa:
      return "El orden de la tendencia de DFA debe estar\n"
             "comprendido entre 1 y 3";
    case kEstadoCajaMinima:
      return "La caja mínima de DFA debe ser mayor o igual\n"
             "que el orden de la tendencia más 2";
    case kEstadoPocasCajas:
      return "La regresión de DFA necesita al menos 3 tamaños de caja:\n"
             "la serie es demasiado corta para la caja mínima elegida";
    case kEstadoFluctuacionNula:
      return "La fluctuación F(s) es nula para algún tamaño de caja:\n"
             "no puede calcularse su logaritmo";
    case kEstadoMomentoNulo:
      return "El momento absoluto de la serie agregada es nulo en algún nivel:\n"
             "no puede calcularse su logaritmo";
    case kEstadoRetardoMaximo:
      return "El retardo máximo de Higuchi debe ser 0 (automático)\n"
             "o mayor o igual que 10";
    case kEstadoPocosRetardos:
      return "La regresión de Higuchi necesita al menos 3 retardos:\n"
             "aumente el retardo máximo o los retardos por década";
    case kEstadoRetardoSinSegmentos:
      return "El retardo máximo de Higuchi debe ser menor\n"
             "que la longitud de la serie";
    case kEstadoLongitudCurvaNula:
      return "La longitud de la curva L(k) es nula para algún retardo:\n"
             "no puede calcularse su logaritmo";
    case kEstadoExponenteGph:
      return "El exponente del ancho de banda de GPH debe\n"
             "estar comprendido entre 0.3 y 0.9";
    case kEstadoFarimaNoConverge:
      return "El modelo FARIMA (p, d, q) no converge para esta serie.\n"
             "Pruebe con FARIMA (0, d, 0) o con el modelo FGN";
    case kEstadoConversion: return "Un campo entero no contiene un número entero";
    case kEstadoFarimaFueraDeRegion:
      return "El mínimo del modelo FARIMA (p, d, q) está fuera de la región estacionaria\n"
             "e invertible (d entre -0.5 y 0.5, raíces AR y MA fuera del círculo unidad):\n"
             "la serie no se ajusta a este modelo. Pruebe con el modelo FGN";
    case kEstadoMediaNoRepresentable:
      return "La media de la serie no puede representarse: no es nula, pero su valor\n"
             "absoluto es menor que el menor número positivo (4.9e-324)";
    case kEstadoVarianzaDesborda:
      return "La varianza de la serie no puede representarse: es mayor\n"
             "que el mayor número finito (1.8e308)";
    case kEstadoVarianzaSubdesborda:
      return "La varianza de la serie no puede representarse: no es nula, pero es\n"
             "menor que el menor número positivo (4.9e-324)";
    case kEstadoNingunaEstimacion:
      return "Ningún método ha dado una estimación de H para esta serie:\n"
             "cada línea de la comparación dice por qué";
    case kEstadoConversionDecimal: return "Un campo decimal no contiene un número decimal";
    case kEstadoLongitudAutocorrelacion:
      return "La longitud de la autocorrelación debe ser mayor\n"
             "que 0 y menor o igual que la longitud de la serie";
  }
  return "";
}
