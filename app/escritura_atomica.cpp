#include "app/escritura_atomica.h"

#include <cerrno>

std::string CausaDelFallo(int error) {
  switch (error) {
    case ENOSPC: return "disco lleno";
    case EDQUOT: return "cuota de disco agotada";
    case EACCES:
    case EPERM: return "permiso denegado";
    case EISDIR: return "es una carpeta";
    case ENOENT: return "no existe la carpeta";
    case ENOTDIR: return "una parte del camino no es una carpeta";
    case EROFS: return "sistema de ficheros de solo lectura";
    case ENAMETOOLONG: return "nombre demasiado largo";
    case EFBIG: return "fichero demasiado grande";
    case ELOOP: return "demasiados enlaces simbólicos";
    case EMFILE:
    case ENFILE: return "demasiados ficheros abiertos";
    case EBUSY:
    case ETXTBSY: return "fichero en uso";
    case EPIPE: return "la salida se ha cerrado";
    case ENXIO:
    case ENODEV: return "dispositivo no disponible";
    case ENOMEM: return "no hay memoria suficiente";
    case EIO: return "error de entrada/salida";
    default: return "error del sistema " + std::to_string(error);
  }
}

std::string MensajeNoPuedoGuardar(const std::string& ruta, int error) {
  if (ruta == "-") return "No puedo escribir en la salida estándar: " + CausaDelFallo(error);
  return "No puedo guardar el fichero\n'" + ruta + "': " + CausaDelFallo(error);
}

bool EscribirFicheroAtomico(const std::string& ruta,
                            const std::function<bool(FicheroAtomico& fichero)>& escritora,
                            std::string& mensaje) {
  mensaje.clear();
  FicheroAtomico fichero(ruta);
  if (fichero.Error() == 0 && escritora(fichero) && fichero.Terminar()) return true;
  fichero.Abandonar();
  if (fichero.Error() != 0) mensaje = MensajeNoPuedoGuardar(ruta, fichero.Error());
  return false;
}

bool EscribirFicheroAtomico(const std::string& ruta, std::string_view contenido,
                            std::string& mensaje) {
  return EscribirFicheroAtomico(
      ruta, [&](FicheroAtomico& f) { return f.Escribir(contenido); }, mensaje);
}
