// chart/qt/: the chart component drawn with Qt, over chart/.
//
// TPlot: the chart control. The model (display list, properties, ranges, scales) comes from
// TPlotModel; this widget draws it into two off-screen images (the whole chart and the data
// area), copies them to the screen once per repaint, writes bitmaps, PNG and SVG files,
// copies to the clipboard, prints, and handles mouse zoom, pan and position read-out.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "chart/plot_model.h"
#include "chart/qt/plot_render.h"

class QEventLoop;
class QPaintDevice;
class QPrinter;

class TPlot : public QWidget, public TPlotModel {
  Q_OBJECT

 public:
  // (Sender, InChart, Shift, rMousePosX, rMousePosY)
  using TMouseMoveInChartEvent =
      std::function<void(TPlot* sender, bool inChart, Qt::KeyboardModifiers shift,
                         double rMousePosX, double rMousePosY)>;

  explicit TPlot(QWidget* parent = nullptr);
  ~TPlot() override;

  // ---- outputs ----
  // Each writer replaces a file only once it is complete, so a failure leaves an existing
  // file as it was; false on failure, with the system's error number in *errorNumber when
  // given (plot_render.h).
  // Writes the whole chart as a BMP file named after FileName (folder + name up to its
  // first "." + ".bmp"); the screen is not touched.
  bool SaveAsBitmap(const std::string& fileName, int* errorNumber = nullptr);
  // Write the whole chart under exactly the name given: as a PNG file (the pixels of the
  // bitmap) or as an SVG file (the same drawing as vectors, texts as text).
  bool SaveAsPng(const std::string& fileName, int* errorNumber = nullptr);
  bool SaveAsSvg(const std::string& fileName, int* errorNumber = nullptr);
  // Places the whole chart on the clipboard as a bitmap.
  void CopyToClipboard();
  // Prints the chart as one page on Printer() (or on the given printer): one screen pixel
  // becomes printer dpi / screen dpi x Magnification printer dots. BlackWhite prints white
  // margins and background, black scales and every item in black (fill colours kept).
  // False when the print job could not be started.
  bool Print(bool blackWhite, double magnification);
  bool Print(QPrinter& printer, bool blackWhite, double magnification);
  QPrinter& Printer();
  // The page of Print drawn on any paint device (its logical dpi acts as the printer's).
  bool PrintTo(QPaintDevice& device, bool blackWhite, double magnification);

  // Whole-chart image as the screen shows it (rendered now when out of date).
  QImage ChartImage();
  // Renders the chart at its current size without touching the screen images.
  QImage RenderImage(const OpcionesRender& o = {});

  // ---- mouse ----
  TMouseMoveInChartEvent OnMouseMoveInChart;
  // Lets the user click two corners in the chart (right button cancels). Returns true with
  // x1 <= x2 and y1 <= y2 in world units; false when cancelled, when the chart is hidden
  // or destroyed meanwhile, or when a box is already pending. Runs a nested event loop.
  bool GetMouseBox(double& x1, double& y1, double& x2, double& y2);
  ZoomStateType ZoomState() const { return zoomState_; }
  MouseBoxStateType MouseBoxState() const { return boxState_; }
  // Ends a pending GetMouseBox as cancelled (the chart is hidden or closed).
  void CancelMouseBox();

  // ---- drawing hooks of the model ----
  void Repintar() override;
  void Redibujar() override;
  void DibujarNuevos() override;
  void BorrarAreaDatos() override;
  // The widget's minimum size: the model's, and the height the names of a category axis
  // need (checked at every full repaint, so it follows the list).
  void BordesCambiados() override;

  // Number of full and data-area renderings so far (lets callers check that repaints are
  // coalesced).
  int RenderCount() const { return renderCount_; }

 signals:
  void mouseMoveInChart(bool inChart, double x, double y);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  bool event(QEvent* e) override;

 private:
  void Sincronizar();       // model size follows the widget size
  void AsegurarImagenes();  // brings the screen images up to date
  void RenderCompleto();
  void RenderDatos();
  void CopiarDatos();
  QRect BandaActual() const;
  void ActualizarBanda(const QRect& anterior);
  QPoint LimitarAlArea(QPoint p) const;
  void ActualizarCursor(bool dentro);
  // Pan and drag zoom: the ranges follow the mouse from where the left button went down.
  void Arrastrar(MouseActMode accion, QPoint p, bool dentro, bool boton);
  // The ranges at the start of the drag moved (pan) or scaled (drag zoom) by the mouse's
  // offset (x, y) in pixels.
  void RangosDesplazados(double x, double y, double& loX, double& hiX, double& loY,
                         double& hiY) const;
  void RangosAmpliados(double x, double y, double& loX, double& hiX, double& loY,
                       double& hiY) const;

  QImage whole_, data_;
  QPoint plumaDatos_{0, 0};  // pen position of the data area after the last drawing
  bool sucioCompleto_ = true, sucioDatos_ = true;
  int renderCount_ = 0;

  // zoom window
  ZoomStateType zoomState_ = zsNormal;
  QPoint ancla_, esquina_;
  // pan and drag zoom
  bool arrastrando_ = false;
  QPoint inicioArrastre_;
  double lo0X_ = 0, hi0X_ = 0, lo0Y_ = 0, hi0Y_ = 0;
  // mouse box
  MouseBoxStateType boxState_ = msNormal;
  QPoint caja1_, caja2_;
  QEventLoop* bucleCaja_ = nullptr;
  bool suprimirMenu_ = false;

  std::unique_ptr<QPrinter> printer_;
};
