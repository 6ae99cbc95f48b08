#include "chart/qt/tplot.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "chart/qt/plot_cursors.h"

namespace {

// The outline through both corner pixels of the band.
void DibujarBanda(QPainter& p, const QRect& banda) {
  p.drawRect(QRect(banda.left(), banda.top(), banda.width() - 1, banda.height() - 1));
}

}  // namespace

TPlot::TPlot(QWidget* parent) : QWidget(parent) {
  // Every pixel comes from the off-screen image: no background erase, no flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  BordesCambiados();
  resize(Width(), Height());
}

TPlot::~TPlot() { CancelMouseBox(); }

// ---------------------------------------------------------------- size and hooks

void TPlot::Sincronizar() {
  if (width() != Width() || height() != Height()) SetControlSize(width(), height());
  // The rims make room for their labels at this width, so that the mouse maps as drawn.
  const MargenesEtiquetas m = MedirMargenesEtiquetas(*this, Width());
  if (m.izquierda != LabelRimLeft() || m.derecha != LabelRimRight()) {
    SetLabelRims(m.izquierda, m.derecha);
    sucioCompleto_ = true;
  }
}

void TPlot::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  SetControlSize(width(), height());
  sucioCompleto_ = true;
  update();
}

void TPlot::Repintar() {
  sucioCompleto_ = true;
  BordesCambiados();
  update();
}

void TPlot::Redibujar() {
  if (AutoRedraw()) {
    sucioDatos_ = true;
  } else {
    sucioCompleto_ = true;
  }
  MarkAllDrawn();
  update();
}

void TPlot::DibujarNuevos() {
  // A new label of a rim may change the rims: then everything is drawn again.
  for (std::size_t i = DrawnUpTo(); i < ItemCount() && !sucioCompleto_; ++i) {
    const TPlotItem& it = Item(i);
    if (it.Kind() == tkLabel && it.LabelPlace() != lpData) Repintar();
  }
  if (!isVisible() || sucioCompleto_ || sucioDatos_ || data_.isNull()) {
    // A pending full drawing will include the new items.
    if (isVisible()) MarkAllDrawn();
    return;
  }
  RenderGrafica r(*this);
  r.DibujarElementos(data_, DrawnUpTo(), plumaDatos_);
  MarkAllDrawn();
  CopiarDatos();
  update(QRect(Geometry().LRim, Geometry().TRim, data_.width(), data_.height()));
}

void TPlot::BordesCambiados() {
  // The model refuses smaller sizes: a smaller widget would cut off axes and numbers; the
  // names of a category axis want a line of text each.
  const QSize minimo(MinWidth(), std::max(MinHeight(), AltoParaEtiquetas(*this)));
  if (minimumSize() != minimo) setMinimumSize(minimo);
}

void TPlot::BorrarAreaDatos() {
  RenderGrafica r(*this);
  if (!r.BorrarAreaDatos(data_)) BackgroundImage().DropName();
  plumaDatos_ = QPoint(0, 0);
}

// ---------------------------------------------------------------- drawing

void TPlot::RenderCompleto() {
  RenderGrafica r(*this);
  r.DibujarMarco(whole_);
  sucioCompleto_ = false;
  RenderDatos();
}

void TPlot::RenderDatos() {
  RenderGrafica r(*this);
  if (!r.BorrarAreaDatos(data_)) BackgroundImage().DropName();
  plumaDatos_ = QPoint(0, 0);
  r.DibujarElementos(data_, 0, plumaDatos_);
  MarkAllDrawn();
  sucioDatos_ = false;
  ++renderCount_;
  CopiarDatos();
}

void TPlot::CopiarDatos() {
  if (whole_.isNull() || data_.isNull()) return;
  QPainter p(&whole_);
  p.drawImage(Geometry().LRim, Geometry().TRim, data_);
}

void TPlot::AsegurarImagenes() {
  Sincronizar();
  if (sucioCompleto_ || whole_.isNull() || whole_.width() != std::max(Width(), 1) ||
      whole_.height() != std::max(Height(), 1))
    RenderCompleto();
  else if (sucioDatos_)
    RenderDatos();
}

void TPlot::paintEvent(QPaintEvent*) {
  AsegurarImagenes();
  QPainter p(this);
  p.drawImage(0, 0, whole_);
  const QRect banda = BandaActual();
  if (!banda.isNull()) {
    // Inverting rubber band: drawn over the clean image on every paint, so it erases
    // cleanly when the band moves or ends.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 0));
    p.setBrush(Qt::NoBrush);
    DibujarBanda(p, banda);
  }
}

QImage TPlot::ChartImage() {
  AsegurarImagenes();
  return whole_;
}

QImage TPlot::RenderImage(const OpcionesRender& o) {
  Sincronizar();
  return RenderGrafica(*this, o).Imagen();
}

// ---------------------------------------------------------------- outputs

bool TPlot::SaveAsBitmap(const std::string& fileName, int* errorNumber) {
  return GuardarImagen(RenderImage(), NombreBitmap(fileName), "BMP", errorNumber);
}

bool TPlot::SaveAsPng(const std::string& fileName, int* errorNumber) {
  return GuardarImagen(RenderImage(), fileName, "PNG", errorNumber);
}

bool TPlot::SaveAsSvg(const std::string& fileName, int* errorNumber) {
  Sincronizar();
  return EscribirFichero(fileName, RenderGrafica(*this).Svg(), errorNumber);
}

void TPlot::CopyToClipboard() { QApplication::clipboard()->setImage(RenderImage()); }

QPrinter& TPlot::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

bool TPlot::Print(bool blackWhite, double magnification) {
  return Print(Printer(), blackWhite, magnification);
}

bool TPlot::Print(QPrinter& printer, bool blackWhite, double magnification) {
  return PrintTo(printer, blackWhite, magnification);
}

bool TPlot::PrintTo(QPaintDevice& printer, bool blackWhite, double magnification) {
  Sincronizar();
  OpcionesRender o;
  if (blackWhite) {
    o.BlancoNegro = true;
    o.WindColor = clWhite;
    o.ChartColor = clWhite;
    o.ScaleColor = clBlack;
  }
  RenderGrafica r(*this, o);
  QImage marco, datos;
  r.DibujarMarco(marco);
  r.BorrarAreaDatos(datos);
  r.DibujarElementos(datos, 0);

  QPainter p;
  if (!p.begin(&printer)) return false;
  // One screen pixel becomes (printer dpi x Magnification) / screen dpi printer dots.
  p.scale(EscalaImpresion(printer.logicalDpiX(), logicalDpiX(), magnification),
          EscalaImpresion(printer.logicalDpiY(), logicalDpiY(), magnification));
  p.drawImage(0, 0, marco);
  p.drawImage(r.Geometria().LRim, r.Geometria().TRim, datos);
  QCoreApplication::processEvents();
  p.end();
  Repintar();
  return true;
}

// ---------------------------------------------------------------- mouse

QRect TPlot::BandaActual() const {
  if (zoomState_ == zsDrawWin) return QRect(ancla_, esquina_).normalized();
  if (boxState_ == msRectDraw) return QRect(caja1_, caja2_).normalized();
  return QRect();
}

void TPlot::ActualizarBanda(const QRect& anterior) {
  QRect zona = BandaActual();
  if (!anterior.isNull()) zona = zona.isNull() ? anterior : zona.united(anterior);
  if (!zona.isNull()) update(zona.adjusted(-1, -1, 1, 1));
}

QPoint TPlot::LimitarAlArea(QPoint p) const {
  const TChartGeometry& g = Geometry();
  return QPoint(std::clamp(p.x(), g.DataLeft(), std::max(g.DataLeft(), g.DataRight())),
                std::clamp(p.y(), g.DataTop(), std::max(g.DataTop(), g.DataBottom())));
}

void TPlot::ActualizarCursor(bool dentro) {
  if (MouseCursorFixed() || !dentro) {
    unsetCursor();
    return;
  }
  switch (MouseAction()) {
    case maNone: setCursor(CursorDeGrafica(CursorGrafica::Cruz)); break;
    case maPan: setCursor(CursorDeGrafica(CursorGrafica::Mano)); break;
    case maZoomWind: setCursor(CursorDeGrafica(CursorGrafica::ZoomVentana)); break;
    case maZoomDrag: setCursor(CursorDeGrafica(CursorGrafica::ZoomArrastre)); break;
    case maZoomWindPos: setCursor(CursorDeGrafica(CursorGrafica::ZoomCaja)); break;
  }
}

void TPlot::mousePressEvent(QMouseEvent* e) {
  Sincronizar();
  const QPoint p = e->position().toPoint();
  const Qt::MouseButton boton = e->button();
  suprimirMenu_ = false;

  // A pending GetMouseBox takes the clicks.
  if (boxState_ == msFirstCorner || boxState_ == msRectDraw) {
    const QRect antes = BandaActual();
    if (boton == Qt::RightButton) {
      boxState_ = msNormal;
      suprimirMenu_ = true;
    } else if (boxState_ == msFirstCorner) {
      caja1_ = caja2_ = p;
      boxState_ = msRectDraw;
    } else {
      caja2_ = p;
      boxState_ = msFinished;
    }
    ActualizarBanda(antes);
    if (boxState_ != msRectDraw && bucleCaja_) bucleCaja_->quit();
    return;
  }

  if (zoomState_ == zsNormal) {
    if ((MouseAction() == maZoomWind || MouseAction() == maZoomWindPos) &&
        boton == Qt::LeftButton && InDataArea(p.x(), p.y())) {
      ancla_ = esquina_ = p;
      zoomState_ = zsDrawWin;
      ActualizarBanda(QRect());
    }
  } else if (boton == Qt::RightButton) {
    const QRect antes = BandaActual();
    zoomState_ = zsNormal;
    suprimirMenu_ = true;
    ActualizarBanda(antes);
  } else if (boton == Qt::LeftButton) {
    const QRect antes = BandaActual();
    zoomState_ = zsNormal;
    ActualizarBanda(antes);
    if (ancla_.x() != esquina_.x() && ancla_.y() != esquina_.y()) {
      double ax, ay, cx, cy;
      PixelToWorld(ancla_.x(), ancla_.y(), ax, ay);
      PixelToWorld(esquina_.x(), esquina_.y(), cx, cy);
      if (MouseAction() == maZoomWindPos) {
        // Keep the axes' orientation: the zoom never flips an axis.
        if ((RangeLoX() < RangeHiX() && cx < ax) || (RangeLoX() > RangeHiX() && cx > ax))
          std::swap(ax, cx);
        if ((RangeLoY() < RangeHiY() && cy < ay) || (RangeLoY() > RangeHiY() && cy > ay))
          std::swap(ay, cy);
      }
      SetRange(ax, ay, cx, cy);
      Repintar();
    }
  }
  QWidget::mousePressEvent(e);
}

void TPlot::mouseMoveEvent(QMouseEvent* e) {
  Sincronizar();
  const QPoint p = e->position().toPoint();
  const bool dentro = InDataArea(p.x(), p.y());

  if (zoomState_ == zsDrawWin) {
    const QRect antes = BandaActual();
    esquina_ = LimitarAlArea(p);
    ActualizarBanda(antes);
  }
  if (boxState_ == msRectDraw) {
    const QRect antes = BandaActual();
    caja2_ = LimitarAlArea(p);
    ActualizarBanda(antes);
  }

  const MouseActMode accion = MouseAction();
  if (accion == maPan || accion == maZoomDrag)
    Arrastrar(accion, p, dentro, e->buttons() & Qt::LeftButton);
  else
    arrastrando_ = false;

  double wx, wy;
  PixelToWorld(p.x(), p.y(), wx, wy);
  if (dentro) SetMousePos(wx, wy);
  ActualizarCursor(dentro);
  if (OnMouseMoveInChart) OnMouseMoveInChart(this, dentro, e->modifiers(), wx, wy);
  emit mouseMoveInChart(dentro, wx, wy);
  QWidget::mouseMoveEvent(e);
}

void TPlot::Arrastrar(MouseActMode accion, QPoint p, bool dentro, bool boton) {
  if (!boton) {
    arrastrando_ = false;
    return;
  }
  if (!arrastrando_) {
    inicioArrastre_ = p;
    lo0X_ = RangeLoX();
    hi0X_ = RangeHiX();
    lo0Y_ = RangeLoY();
    hi0Y_ = RangeHiY();
    arrastrando_ = true;
    return;
  }
  if (!dentro) return;
  const double x = p.x() - inicioArrastre_.x(), y = p.y() - inicioArrastre_.y();
  double loX = lo0X_, hiX = hi0X_, loY = lo0Y_, hiY = hi0Y_;
  if (accion == maPan)
    RangosDesplazados(x, y, loX, hiX, loY, hiY);
  else
    RangosAmpliados(x, y, loX, hiX, loY, hiY);
  SetRange(loX, loY, hiX, hiY);
  Repintar();
}

void TPlot::RangosDesplazados(double x, double y, double& loX, double& hiX, double& loY,
                              double& hiY) const {
  const double W = DataAreaWidth(), H = DataAreaHeight();
  if (W > 0) {
    if (LogScaleX()) {
      const double f = std::exp(std::log(hi0X_ / lo0X_) * (-x) / W);
      loX = lo0X_ * f;
      hiX = hi0X_ * f;
    } else {
      const double d = (hi0X_ - lo0X_) * x / W;
      loX = lo0X_ - d;
      hiX = hi0X_ - d;
    }
  }
  if (H > 0) {
    if (LogScaleY()) {
      const double f = std::exp(std::log(hi0Y_ / lo0Y_) * y / H);
      loY = lo0Y_ * f;
      hiY = hi0Y_ * f;
    } else {
      const double d = (hi0Y_ - lo0Y_) * y / H;
      loY = lo0Y_ + d;
      hiY = hi0Y_ + d;
    }
  }
}

void TPlot::RangosAmpliados(double x, double y, double& loX, double& hiX, double& loY,
                            double& hiY) const {
  const double fx = 1.0 - x / std::max(Width(), 1);
  const double fy = 1.0 + y / std::max(Height(), 1);
  const double cx = (lo0X_ + hi0X_) / 2, cy = (lo0Y_ + hi0Y_) / 2;
  const double hx = (hi0X_ - lo0X_) * fx / 2, hy = (hi0Y_ - lo0Y_) * fy / 2;
  loX = cx - hx;
  hiX = cx + hx;
  loY = cy - hy;
  hiY = cy + hy;
}

bool TPlot::GetMouseBox(double& x1, double& y1, double& x2, double& y2) {
  // One box at a time, and only on a chart the user can click (a hidden one would wait
  // for ever).
  if (bucleCaja_ || !isVisible()) return false;
  Sincronizar();
  boxState_ = msFirstCorner;
  QPointer<TPlot> vivo(this);
  QEventLoop bucle;
  bucleCaja_ = &bucle;
  bucle.exec();
  if (!vivo) return false;  // the chart was destroyed while waiting
  bucleCaja_ = nullptr;
  const bool ok = boxState_ == msFinished;
  if (ok) {
    double ax, ay, bx, by;
    PixelToWorld(caja1_.x(), caja1_.y(), ax, ay);
    PixelToWorld(caja2_.x(), caja2_.y(), bx, by);
    x1 = std::min(ax, bx);
    x2 = std::max(ax, bx);
    y1 = std::min(ay, by);
    y2 = std::max(ay, by);
  }
  const QRect antes = BandaActual();
  boxState_ = msNormal;
  ActualizarBanda(antes);
  return ok;
}

void TPlot::CancelMouseBox() {
  if (boxState_ == msFirstCorner || boxState_ == msRectDraw) boxState_ = msNormal;
  if (bucleCaja_) bucleCaja_->quit();
}

void TPlot::hideEvent(QHideEvent* e) {
  CancelMouseBox();
  QWidget::hideEvent(e);
}

bool TPlot::event(QEvent* e) {
  // The right click that cancelled a rubber band does not also open the popup menu.
  if (e->type() == QEvent::ContextMenu &&
      (suprimirMenu_ || zoomState_ == zsDrawWin || boxState_ == msFirstCorner ||
       boxState_ == msRectDraw)) {
    suprimirMenu_ = false;
    e->accept();
    return true;
  }
  return QWidget::event(e);
}
