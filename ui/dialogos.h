// Every platform dialog the windows open (files, messages, input, colour, printer and the
// modal run of the program's own dialogs) goes through PlatformDialogs, so that tests can
// script the answers with a fake instead of driving real modal windows.
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ControlProgreso;
class QProgressDialog;

class QDialog;
class QPrinter;
class QWidget;

struct OpcionesFichero {
  QString titulo;
  QString nombre;            // name preset in the dialog (may be bare, without folder)
  QStringList filtros;       // Qt form: "Series de tráfico (*.sam)"; empty = no filter
  int filtroInicial = 0;     // index into filtros
  QString extensionDefecto;  // appended when the typed name has none (without the point)
};

// The extension a filter names when it has exactly one plain pattern: "png" for
// "Imagen PNG (*.png)"; empty for "Todos los archivos (*.*)" or several patterns.
QString ExtensionDeFiltro(const QString& filtro);

// Information for what is not a fault; a warning for a refusal the user can mend (a status
// message, a bad value, a file that cannot be read); critical for a fault of the program or
// of a write.
enum class IconoMensaje { Informacion, Aviso, Error };

class PlatformDialogs {
 public:
  virtual ~PlatformDialogs() = default;

  // Open dialog for an existing file; empty text when cancelled.
  virtual QString AbrirFichero(QWidget* padre, const OpcionesFichero& opciones) = 0;
  // Save dialog (asks before overwriting, folder must exist); empty text when cancelled.
  // A name typed without extension gets the one of the filter the user picked, or
  // extensionDefecto while no filter naming one was picked.
  virtual QString GuardarFichero(QWidget* padre, const OpcionesFichero& opciones) = 0;
  virtual void Mensaje(QWidget* padre, const QString& texto,
                       IconoMensaje icono = IconoMensaje::Aviso) = 0;
  // A question with "Sí" and "No" (the default); true for "Sí".
  virtual bool Confirmar(QWidget* padre, const QString& texto) = 0;
  // Input box; nullopt when cancelled.
  virtual std::optional<QString> PedirTexto(QWidget* padre, const QString& titulo,
                                            const QString& etiqueta, const QString& defecto) = 0;
  virtual std::optional<QColor> ElegirColor(QWidget* padre, const QColor& inicial) = 0;
  // Print dialog configuring the printer; false when cancelled.
  virtual bool ConfigurarImpresora(QWidget* padre, QPrinter& impresora) = 0;
  // Shows one of the program's own dialogs modally; returns QDialog::Accepted or Rejected.
  virtual int EjecutarModal(QDialog* dialogo) = 0;
  // Waits, keeping the windows painting, until `terminado` (a computation running on
  // another thread) says it is over. Once the operation has lasted about half a second in
  // all (`yaTranscurrido` seconds before this call) it shows the progress of `control` in a
  // modal dialog whose "Cancelar" cancels the control; before that, user input waits.
  virtual void EsperarCalculo(QWidget* padre, const QString& texto, ControlProgreso& control,
                              double yaTranscurrido, const std::function<bool()>& terminado) = 0;
};

// The message box icon of each kind of message.
QMessageBox::Icon IconoDeMensaje(IconoMensaje icono);

// The progress dialog of a long operation: the text, a bar over 0..1000 and "Cancelar".
QProgressDialog* NuevoDialogoProgreso(QWidget* padre, const QString& texto);

// The real dialogs of Qt. Like the platform's own file dialogs, an accepted file dialog makes
// its folder the process's current folder, where bare file names (the default ".rsl") go.
class QtPlatformDialogs : public PlatformDialogs {
 public:
  QtPlatformDialogs();
  QString AbrirFichero(QWidget* padre, const OpcionesFichero& opciones) override;
  QString GuardarFichero(QWidget* padre, const OpcionesFichero& opciones) override;
  void Mensaje(QWidget* padre, const QString& texto, IconoMensaje icono) override;
  bool Confirmar(QWidget* padre, const QString& texto) override;
  std::optional<QString> PedirTexto(QWidget* padre, const QString& titulo,
                                    const QString& etiqueta, const QString& defecto) override;
  std::optional<QColor> ElegirColor(QWidget* padre, const QColor& inicial) override;
  bool ConfigurarImpresora(QWidget* padre, QPrinter& impresora) override;
  int EjecutarModal(QDialog* dialogo) override;
  void EsperarCalculo(QWidget* padre, const QString& texto, ControlProgreso& control,
                      double yaTranscurrido, const std::function<bool()>& terminado) override;

 private:
  QString EjecutarFichero(QWidget* padre, const OpcionesFichero& opciones, bool guardar);
};
