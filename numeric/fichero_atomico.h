// Files written whole or not at all.
//
// A FicheroAtomico writes its bytes to a new temporary file in the target's folder
// (".<name>.<6 letters>.tmp") and moves it over the target with rename() only when every
// byte has been written and the file closed without error. On any failure, and when the
// object goes away before Terminar(), the temporary file is removed: an existing target is
// never left truncated or half written, and no empty file is left behind.
//
// Targets that cannot be replaced by renaming are written in place with the same checks:
// "-" (the standard output), paths under /dev/ and /proc/ (/dev/stdout, /dev/null,
// /dev/full) and existing files that are neither regular files nor folders (pipes,
// devices). A symbolic link to a file is followed: the file it names is replaced and the
// link stays. A target that exists and may not be written (no write permission) is
// refused, although its folder would allow the rename.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class FicheroAtomico {
 public:
  // Opens the temporary file (or the target itself, see above); a failure shows in Error().
  explicit FicheroAtomico(const std::string& ruta);
  // Without a successful Terminar(): the temporary file is removed, the target untouched.
  ~FicheroAtomico();
  FicheroAtomico(const FicheroAtomico&) = delete;
  FicheroAtomico& operator=(const FicheroAtomico&) = delete;

  // Appends bytes (buffered). False once anything has failed; nothing is written then.
  bool Escribir(std::string_view bytes);
  // Writes what is buffered, closes and puts the file in the target's place. False when
  // anything failed, with the temporary file removed. Call once.
  bool Terminar();
  // Gives up: removes the temporary file now (the target stays as it was).
  void Abandonar();

  // errno of the first failure (opening, writing, closing, renaming); 0 while none.
  int Error() const { return error_; }

 private:
  bool Volcar();
  void Fallo(int error);

  std::string destino_;
  std::string temporal_;  // empty when writing the target in place
  int fd_ = -1;
  bool cerrarFd_ = true;  // false for the standard output
  int error_ = 0;
  int hueco_ = -1;  // entry of the temporary file in the list that signals clear
  std::unique_ptr<char[]> buffer_;
  std::size_t lleno_ = 0;
};

// From now on SIGINT, SIGTERM, SIGHUP and SIGPIPE first remove the temporary files of
// every FicheroAtomico still being written, then end the process as they would have
// (signals that were being ignored stay ignored). For programs that a user interrupts
// (fenwa-cli); safe to call more than once.
void BorrarTemporalesAlInterrumpir();
