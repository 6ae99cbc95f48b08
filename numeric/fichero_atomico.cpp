#include "numeric/fichero_atomico.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBuffer = std::size_t{1} << 16;

// ---- temporary files that a signal removes ----------------------------------------------
// Fixed storage, so that the handler reads paths without allocating or locking: an entry
// is free (0), being filled (1) or holds the path of a temporary file (2).
constexpr int kHuecos = 64;
constexpr std::size_t kRutaMaxima = 4096;
struct Hueco {
  std::atomic<int> estado{0};
  char ruta[kRutaMaxima];
};
Hueco huecos[kHuecos];
static_assert(std::atomic<int>::is_always_lock_free);

// The entry that now holds `ruta`, or -1 when none is free (the file is then only removed
// by its own object).
int Registrar(const std::string& ruta) {
  if (ruta.size() >= kRutaMaxima) return -1;
  for (int i = 0; i < kHuecos; ++i) {
    int libre = 0;
    if (huecos[i].estado.compare_exchange_strong(libre, 1)) {
      std::memcpy(huecos[i].ruta, ruta.c_str(), ruta.size() + 1);
      huecos[i].estado.store(2, std::memory_order_release);
      return i;
    }
  }
  return -1;
}

void Desregistrar(int& i) {
  if (i >= 0) huecos[i].estado.store(0, std::memory_order_release);
  i = -1;
}

extern "C" void AlInterrumpir(int senal) {
  // unlink and raise are async-signal-safe; the action is already back to the default.
  for (Hueco& h : huecos)
    if (h.estado.load(std::memory_order_acquire) == 2) ::unlink(h.ruta);
  ::raise(senal);
}

// Six letters or digits that differ between processes, threads and calls.
std::string Letras() {
  static std::atomic<std::uint64_t> contador{0};
  std::uint64_t x = static_cast<std::uint64_t>(::getpid()) * 0x9E3779B97F4A7C15ull ^
                    static_cast<std::uint64_t>(
                        std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    (contador.fetch_add(1) << 40);
  // splitmix64
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  static constexpr char kAlfabeto[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string s(6, 'x');
  for (char& c : s) {
    c = kAlfabeto[x % 62];
    x /= 62;
  }
  return s;
}

// Paths that name the standard streams or the process's own descriptors: renaming over
// them would replace what they point at.
bool DelSistema(const std::string& ruta) {
  return ruta == "/dev/stdout" || ruta == "/dev/stderr" || ruta.starts_with("/dev/fd/") ||
         ruta.starts_with("/proc/");
}

bool EscribirTodo(int fd, const char* p, std::size_t n, int& error) {
  while (n > 0) {
    const ssize_t r = ::write(fd, p, n);
    if (r < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    if (r == 0) {
      error = EIO;
      return false;
    }
    p += r;
    n -= static_cast<std::size_t>(r);
  }
  return true;
}

}  // namespace

FicheroAtomico::FicheroAtomico(const std::string& ruta) : destino_(ruta) {
  if (ruta.empty()) {
    Fallo(ENOENT);
    return;
  }
  buffer_ = std::make_unique_for_overwrite<char[]>(kBuffer);
  if (ruta == "-") {
    std::fflush(stdout);  // what the program already wrote there goes first
    fd_ = STDOUT_FILENO;
    cerrarFd_ = false;
    return;
  }
  struct stat st {};
  const bool existe = ::stat(ruta.c_str(), &st) == 0;
  if (existe && S_ISDIR(st.st_mode)) {
    Fallo(EISDIR);
    return;
  }
  if (DelSistema(ruta) || (existe && !S_ISREG(st.st_mode))) {
    fd_ = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) Fallo(errno);
    return;
  }
  struct stat enlace {};
  if (existe && ::lstat(ruta.c_str(), &enlace) == 0 && S_ISLNK(enlace.st_mode)) {
    if (char* real = ::realpath(ruta.c_str(), nullptr)) {
      destino_ = real;
      std::free(real);
    }
  }
  if (existe && ::access(destino_.c_str(), W_OK) != 0) {
    Fallo(errno);
    return;
  }
  const std::size_t barra = destino_.rfind('/');
  const std::string carpeta = barra == std::string::npos ? "" : destino_.substr(0, barra + 1);
  std::string nombre = barra == std::string::npos ? destino_ : destino_.substr(barra + 1);
  if (nombre.empty()) {  // "carpeta/": a folder, existing or not
    Fallo(EISDIR);
    return;
  }
  if (nombre.size() > 200) nombre.resize(200);  // the temporary name stays within NAME_MAX
  for (int intento = 0; intento < 100 && fd_ < 0; ++intento) {
    std::string temporal = carpeta + "." + nombre + "." + Letras() + ".tmp";
    // Registered before it exists, so that a signal right after the open still removes
    // it; should the open fail, the name is a random one nobody else uses.
    hueco_ = Registrar(temporal);
    fd_ = ::open(temporal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existe ? 0600 : 0666);
    if (fd_ >= 0) {
      temporal_ = std::move(temporal);
      break;
    }
    const int error = errno;
    Desregistrar(hueco_);
    if (error != EEXIST) {
      Fallo(error);
      return;
    }
  }
  if (fd_ < 0) {
    Fallo(EEXIST);
    return;
  }
  // A file that is replaced keeps its permissions.
  if (existe) (void)::fchmod(fd_, st.st_mode & 0777);
}

FicheroAtomico::~FicheroAtomico() { Abandonar(); }

void FicheroAtomico::Fallo(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
}

bool FicheroAtomico::Volcar() {
  if (lleno_ == 0) return true;
  int error = 0;
  const bool bien = EscribirTodo(fd_, buffer_.get(), lleno_, error);
  lleno_ = 0;
  if (!bien) Fallo(error);
  return bien;
}

bool FicheroAtomico::Escribir(std::string_view bytes) {
  if (error_ != 0 || fd_ < 0) return false;
  if (lleno_ + bytes.size() > kBuffer) {
    if (!Volcar()) return false;
    if (bytes.size() >= kBuffer) {
      int error = 0;
      if (EscribirTodo(fd_, bytes.data(), bytes.size(), error)) return true;
      Fallo(error);
      return false;
    }
  }
  std::memcpy(buffer_.get() + lleno_, bytes.data(), bytes.size());
  lleno_ += bytes.size();
  return true;
}

bool FicheroAtomico::Terminar() {
  if (error_ == 0 && fd_ < 0) Fallo(EBADF);  // called twice
  if (error_ == 0) Volcar();
  if (fd_ >= 0 && cerrarFd_) {
    // A failed close (a full disk over NFS, for one) means the data may not be there.
    if (::close(fd_) != 0 && errno != EINTR) Fallo(errno);
  }
  fd_ = -1;
  if (error_ == 0 && !temporal_.empty()) {
    if (::rename(temporal_.c_str(), destino_.c_str()) != 0) {
      Fallo(errno);
    } else {
      temporal_.clear();
      Desregistrar(hueco_);
    }
  }
  if (error_ != 0) Abandonar();
  return error_ == 0;
}

void FicheroAtomico::Abandonar() {
  if (fd_ >= 0 && cerrarFd_) ::close(fd_);
  fd_ = -1;
  if (!temporal_.empty()) {
    ::unlink(temporal_.c_str());
    temporal_.clear();
  }
  Desregistrar(hueco_);
}

void BorrarTemporalesAlInterrumpir() {
  for (const int senal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    struct sigaction actual {};
    if (::sigaction(senal, nullptr, &actual) != 0 || actual.sa_handler == SIG_IGN) continue;
    struct sigaction nueva {};
    nueva.sa_handler = AlInterrumpir;
    sigemptyset(&nueva.sa_mask);
    nueva.sa_flags = SA_RESETHAND;
    ::sigaction(senal, &nueva, nullptr);
  }
}
