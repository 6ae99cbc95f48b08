#include "capturas/fuente.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>
#include <zstd.h>

std::size_t Fuente::Leer(unsigned char* destino, std::size_t n) {
  if (servido_ < adelantado_.size()) {
    const std::size_t m = std::min(n, adelantado_.size() - servido_);
    std::memcpy(destino, adelantado_.data() + servido_, m);
    servido_ += m;
    if (servido_ == adelantado_.size()) {
      adelantado_.clear();
      servido_ = 0;
    }
    return m;
  }
  return LeerCrudo(destino, n);
}

std::size_t Fuente::Asomar(unsigned char* destino, std::size_t n) {
  while (adelantado_.size() - servido_ < n) {
    unsigned char trozo[4096];
    const std::size_t m = LeerCrudo(trozo, std::min(sizeof trozo, n - (adelantado_.size() - servido_)));
    if (m == 0) break;
    adelantado_.insert(adelantado_.end(), trozo, trozo + m);
  }
  const std::size_t m = std::min(n, adelantado_.size() - servido_);
  if (m > 0) std::memcpy(destino, adelantado_.data() + servido_, m);
  return m;
}

namespace {

std::string Citado(const std::string& ruta) { return "'" + ruta + "'"; }

class FuenteFichero : public Fuente {
 public:
  explicit FuenteFichero(const std::string& ruta) : Fuente(ruta) {
    if (ruta == "-") {
      fd_ = STDIN_FILENO;
      propio_ = false;
      return;
    }
    fd_ = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
      const int e = errno;
      std::string motivo;
      if (e == ENOENT || e == ENOTDIR) motivo = "no existe";
      else if (e == EACCES || e == EPERM) motivo = "no hay permiso para leerlo";
      else motivo = std::strerror(e);
      throw ErrorCaptura{"No puedo leer el fichero " + Citado(ruta) + ": " + motivo};
    }
    struct stat st{};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      throw ErrorCaptura{"No puedo leer el fichero " + Citado(ruta) + ": es una carpeta"};
    }
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  }
  ~FuenteFichero() override {
    if (propio_ && fd_ >= 0) ::close(fd_);
  }
  std::uint64_t LeidosDelFichero() const override { return leidos_; }

 protected:
  std::size_t LeerCrudo(unsigned char* destino, std::size_t n) override {
    for (;;) {
      const ssize_t m = ::read(fd_, destino, n);
      if (m >= 0) {
        leidos_ += static_cast<std::uint64_t>(m);
        return static_cast<std::size_t>(m);
      }
      if (errno == EINTR) continue;
      throw ErrorCaptura{"No puedo leer el fichero " + Citado(Ruta()) + ": " + std::strerror(errno)};
    }
  }

 private:
  int fd_ = -1;
  bool propio_ = true;
  std::uint64_t leidos_ = 0;
};

constexpr std::size_t kEntradaComprimida = 256 * 1024;

std::string Danado(const std::string& ruta, const char* compresion, const std::string& detalle) {
  return "El fichero " + Citado(ruta) + " está dañado: sus datos " + compresion +
         " no se pueden descomprimir (" + detalle + ")";
}

// gzip members one after another, as zcat reads them; anything after the last member that
// is not another member is ignored.
class FuenteGzip : public Fuente {
 public:
  explicit FuenteGzip(std::unique_ptr<Fuente> fichero)
      : Fuente(fichero->Ruta()), fichero_(std::move(fichero)), entrada_(kEntradaComprimida) {
    if (inflateInit2(&z_, 15 + 16) != Z_OK) throw ErrorCaptura{"No hay memoria para descomprimir " + Citado(Ruta())};
  }
  ~FuenteGzip() override { inflateEnd(&z_); }
  std::uint64_t LeidosDelFichero() const override { return fichero_->LeidosDelFichero(); }
  bool Incompleta() const override { return incompleta_; }
  const char* Compresion() const override { return "gzip"; }

 protected:
  std::size_t LeerCrudo(unsigned char* destino, std::size_t n) override {
    z_.next_out = destino;
    z_.avail_out = static_cast<uInt>(std::min<std::size_t>(n, 1u << 30));
    while (!terminada_ && z_.avail_out > 0) {
      if (z_.avail_in == 0 && !Rellenar()) {
        incompleta_ = enMiembro_;
        terminada_ = true;
        break;
      }
      enMiembro_ = true;
      const int r = inflate(&z_, Z_NO_FLUSH);
      if (r == Z_STREAM_END) {
        enMiembro_ = false;
        // Another member follows only if its magic bytes do.
        if (z_.avail_in == 0 && !Rellenar()) {
          terminada_ = true;
        } else if (z_.next_in[0] != 0x1f || (z_.avail_in >= 2 && z_.next_in[1] != 0x8b)) {
          terminada_ = true;
        } else {
          inflateReset(&z_);
        }
      } else if (r == Z_BUF_ERROR) {
        continue;  // needs more input
      } else if (r != Z_OK) {
        throw ErrorCaptura{Danado(Ruta(), "gzip", z_.msg ? z_.msg : "error " + std::to_string(r))};
      }
      if (z_.avail_out < static_cast<uInt>(std::min<std::size_t>(n, 1u << 30))) break;
    }
    return static_cast<std::size_t>(z_.next_out - destino);
  }

 private:
  bool Rellenar() {
    const std::size_t m = fichero_->Leer(entrada_.data(), entrada_.size());
    z_.next_in = entrada_.data();
    z_.avail_in = static_cast<uInt>(m);
    return m > 0;
  }

  std::unique_ptr<Fuente> fichero_;
  std::vector<unsigned char> entrada_;
  z_stream z_{};
  bool enMiembro_ = false, terminada_ = false, incompleta_ = false;
};

// zstd frames one after another (skippable frames included).
class FuenteZstd : public Fuente {
 public:
  explicit FuenteZstd(std::unique_ptr<Fuente> fichero)
      : Fuente(fichero->Ruta()), fichero_(std::move(fichero)), entrada_(kEntradaComprimida),
        z_(ZSTD_createDStream()) {
    if (!z_) throw ErrorCaptura{"No hay memoria para descomprimir " + Citado(Ruta())};
  }
  ~FuenteZstd() override { ZSTD_freeDStream(z_); }
  std::uint64_t LeidosDelFichero() const override { return fichero_->LeidosDelFichero(); }
  bool Incompleta() const override { return incompleta_; }
  const char* Compresion() const override { return "zstd"; }

 protected:
  std::size_t LeerCrudo(unsigned char* destino, std::size_t n) override {
    ZSTD_outBuffer salida{destino, n, 0};
    while (!terminada_ && salida.pos == 0) {
      if (in_.pos == in_.size) {
        const std::size_t m = fichero_->Leer(entrada_.data(), entrada_.size());
        if (m == 0) {
          incompleta_ = enTrama_;
          terminada_ = true;
          break;
        }
        in_ = ZSTD_inBuffer{entrada_.data(), m, 0};
      }
      const std::size_t r = ZSTD_decompressStream(z_, &salida, &in_);
      if (ZSTD_isError(r)) throw ErrorCaptura{Danado(Ruta(), "zstd", ZSTD_getErrorName(r))};
      enTrama_ = r != 0;
    }
    return salida.pos;
  }

 private:
  std::unique_ptr<Fuente> fichero_;
  std::vector<unsigned char> entrada_;
  ZSTD_DStream* z_;
  ZSTD_inBuffer in_{nullptr, 0, 0};
  bool enTrama_ = false, terminada_ = false, incompleta_ = false;
};

}  // namespace

std::unique_ptr<Fuente> AbrirFuente(const std::string& ruta) {
  auto fichero = std::make_unique<FuenteFichero>(ruta);
  unsigned char magia[4] = {};
  const std::size_t n = fichero->Asomar(magia, sizeof magia);
  if (n >= 2 && magia[0] == 0x1f && magia[1] == 0x8b) return std::make_unique<FuenteGzip>(std::move(fichero));
  if (n >= 4) {
    const std::uint32_t m = magia[0] | magia[1] << 8 | magia[2] << 16 | static_cast<std::uint32_t>(magia[3]) << 24;
    if (m == 0xFD2FB528u || (m & 0xFFFFFFF0u) == 0x184D2A50u)
      return std::make_unique<FuenteZstd>(std::move(fichero));
  }
  return fichero;
}

std::uint64_t TamanoFichero(const std::string& ruta) {
  struct stat st{};
  if (ruta == "-" || ::stat(ruta.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}
