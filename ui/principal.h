// ui/: the desktop program fenwa, thin Qt windows over app/, chart/qt/ and capturas/.
//
// The main window "FENWA": menus, tool bar, the two method and series lists, the "M", "V"
// and "A" toggles and the results log MResult. It owns the series store and the results
// log and opens every other window; its quick controls mirror the series dialog, whose
// controls the analysis reads.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QToolButton>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/analisis.h"
#include "app/resultados.h"
#include "app/series.h"

class PlatformDialogs;
class TFMetodosH;
class TFMetodosT0;
class TFEstacion;
class TFAuto;
class TFSeries;
class TFGraf;
class TFGenerar;
class TFCaptura;

// The other six windows, created after the main window and living as long as it.
struct VentanasFenwa {
  TFMetodosH* metodosH = nullptr;
  TFAuto* autocorrelacion = nullptr;
  TFSeries* series = nullptr;
  TFMetodosT0* metodosT0 = nullptr;
  TFEstacion* estacion = nullptr;
  TFGraf* graficas = nullptr;
};

class TFPrinc : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFPrinc(PlatformDialogs& dialogos, QWidget* padre = nullptr);
  ~TFPrinc() override;

  // Wires the other windows; called once at start-up after they exist.
  void Conectar(const VentanasFenwa& ventanas);

  // Menu "&Archivo"
  QAction *Cargarserie1, *Importarcaptura1, *Generarserie1, *Guardarcomo1, *Guardarresult1, *Guardarresultcomo1,
      *Salir1;
  // Menu "&Métodos" and the commands on the bar
  QAction *MetodosH1, *MetodosT01, *Estacion1, *CompararMetodos1, *Autocorrelacion1, *Series1,
      *Acercade1;
  // Menu "&Resultados"
  QAction *FechaHora1, *Creditos1, *Copiarresult1, *Borrarresult1, *GuardarCsv1;
  // Menu "&Gráficas"
  QAction *Graficametodo1, *Graficaauto1, *Iragraficas1;

  QToolButton *SBCargarSerie, *SBGuardarResult, *SBAnalizar, *SBMedia, *SBVar, *SBAuto,
      *SBGraficas;
  QComboBox *CBSeries, *CBMetodos;
  QPlainTextEdit* MResult;

  SeriesStore& Almacen() { return almacen_; }
  // The dialog "Generar serie", created at its first opening and then kept with its values.
  TFGenerar* DialogoGenerar();

  // Handlers
  void Cargarserie1Click();
  void Generarserie1Click();
  // Counts packet captures into a series, off the window thread like an analysis.
  void Importarcaptura1Click();
  // The dialog "Importar captura", created at its first opening and then kept with its values.
  TFCaptura* DialogoCaptura();
  void Guardarcomo1Click();
  void Guardarresult1Click();
  void Guardarresultcomo1Click();
  void Copiarresult1Click();
  void Borrarresult1Click();
  // "Guardar comparación (CSV)...": the results of the last complete analysis of a method
  // (every method of a comparison, or the one analysed) as CSV.
  void GuardarCsv1Click();
  void MetodosH1Click();
  void MetodosT01Click();
  void Estacion1Click();
  // Runs every method that yields H on the current series, side by side.
  void CompararMetodos1Click();
  void Autocorrelacion1Click();
  void Series1Click();
  void SBAnalizarClick();
  void CBSeriesChange();
  void CBMetodosChange();
  void SBMediaClick();
  void SBVarClick();
  void SBAutoClick();
  void Iragraficas1Click();
  void Acercade1Click();
  void Salir1Click();

  // Loads a sample file given by path (a file named on the command line), exactly as
  // "&Cargar serie..." does after its dialog.
  void CargarFichero(const QString& ruta);
  // Runs the analysis driver on the series dialog's selection, or, with comparar, every
  // method that yields H with the dialog's statistics.
  void Analizar(bool comparar = false);
  // The regional decimal separator the report uses.
  static char SeparadorDecimal();

 protected:
  void closeEvent(QCloseEvent* evento) override;

 private:
  void CrearMenus();
  void CrearBarra();
  // False, after the message about the ten loaded series, when the store is full.
  bool HayHueco();
  void LeerSerie(const QString& ruta);
  // Runs a computation like an analysis: off the window thread, the menus disabled, the
  // progress dialog with `texto` and "Cancelar" after half a second. False when cancelled.
  bool CalcularFueraDeVentana(const QString& texto, const std::function<void()>& calculo);
  // The results area as a report of its own about a series just made: its lines, in the
  // window's colours, with the results commands enabled.
  void InformeDeSerie(const std::string& nombre, const std::vector<std::string>& lineas);
  // Puts a loaded or generated series into the store as the current series, in both lists,
  // enabling the series commands with the first one.
  void AnadirSerie(const std::string& nombre, Vector datos,
                   std::optional<ParametrosGenerador> generada = std::nullopt);
  void SincronizarConDialogo();     // "Aceptar" in the series dialog
  void MenusSeries(bool habilitar); // "&Series" and "&Guardar serie como..."
  void HabilitarAnalisis(bool habilitar);  // SBAnalizar and "&Comparar métodos"
  void ActualizarComandos();        // the five results commands from the log
  // The series list as wide as its longest name allows (the bar's later controls move
  // with it), and its hint with the chosen series' whole name.
  void AjustarListaSeries();

  PlatformDialogs& dialogos_;
  VentanasFenwa ventanas_;
  std::vector<std::pair<QWidget*, int>> aLaDerecha_;  // bar controls right of CBSeries, x
  TFGenerar* generar_ = nullptr;
  TFCaptura* captura_ = nullptr;
  SeriesStore almacen_;
  RegistroResultados registro_;
  // The last complete analysis of a method, for the CSV.
  struct UltimoAnalisis {
    std::string metodo;
    ResultadoAnalisis resultado;
    std::string serie;                   // its name and length, for the chart's title
    std::uint32_t longitud = 0;
    std::optional<double> hModelo;       // the H of the model of a generated series
    bool grafica = false;                // it filled the method chart
  };
  // The reference H of the comparison chart: the user's, or the model's of the series.
  std::optional<double> Referencia(std::optional<double> hModelo) const;
  // Draws the last comparison again with the reference H as it is now.
  void RedibujarComparacion();
  std::optional<UltimoAnalisis> ultimo_;
  struct Adaptadores;
  class MenusOcupados;
  std::unique_ptr<Adaptadores> adaptadores_;
  std::unique_ptr<Analizador> driver_;
};

// The About box "Acerca de FENWA", created on demand.
class TFAcercade;
