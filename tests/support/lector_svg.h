// A small reader of the SVG documents the chart writes: every drawing element with the
// stroke and fill it inherits from the generator's groups and, for polylines, its vertices
// in document coordinates (the groups carry translations "matrix(1,0,0,1,dx,dy)").
#pragma once

#include <QByteArray>
#include <QPolygonF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <vector>

namespace prueba {

// One drawing element of an SVG document, with the colours it inherits from its groups.
struct ElementoSvg {
  QString nombre;          // "polyline", "path", "text", ...
  QString trazo, relleno;  // "none" or "#rrggbb"
  QString texto;           // characters of a <text>
  QPolygonF puntos;        // vertices of a <polyline>, in document coordinates
};

struct DocumentoSvg {
  QString error;  // empty when the document is well-formed XML
  QString viewBox;
  std::vector<ElementoSvg> elementos;

  // Lines (polyline, path, line) stroked in the colour.
  std::vector<const ElementoSvg*> Trazados(const QString& color) const {
    std::vector<const ElementoSvg*> v;
    for (const ElementoSvg& e : elementos)
      if ((e.nombre == "polyline" || e.nombre == "path" || e.nombre == "line") && e.trazo == color)
        v.push_back(&e);
    return v;
  }
  // Characters of every <text>, in document order.
  QStringList Textos() const {
    QStringList t;
    for (const ElementoSvg& e : elementos)
      if (e.nombre == "text") t << e.texto;
    return t;
  }
  // Whether some shape other than a text is filled with the colour.
  bool Relleno(const QString& color) const {
    for (const ElementoSvg& e : elementos)
      if (e.nombre != "text" && e.relleno == color) return true;
    return false;
  }
};

// Parses the document; DocumentoSvg::error tells when it is not well-formed XML.
inline DocumentoSvg LeerSvg(const QByteArray& svg) {
  struct Estado {
    QString trazo = "none", relleno = "#000000";
    QPointF desplazamiento;
  };
  static const QRegularExpression matriz(QStringLiteral("matrix\\(([^)]*)\\)"));
  DocumentoSvg d;
  std::vector<Estado> pila(1);
  QXmlStreamReader xml(svg);
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement()) {
      pila.pop_back();
      continue;
    }
    if (!xml.isStartElement()) continue;
    Estado e = pila.back();
    const QXmlStreamAttributes a = xml.attributes();
    if (a.hasAttribute("stroke")) e.trazo = a.value("stroke").toString();
    if (a.hasAttribute("fill")) e.relleno = a.value("fill").toString();
    const QRegularExpressionMatch m = matriz.match(a.value("transform").toString());
    if (m.hasMatch()) {
      const QStringList k = m.captured(1).split(QLatin1Char(','));
      if (k.size() == 6) e.desplazamiento += QPointF(k[4].toDouble(), k[5].toDouble());
    }
    const QString nombre = xml.name().toString();
    if (nombre == "svg") d.viewBox = a.value("viewBox").toString();
    ElementoSvg el{nombre, e.trazo, e.relleno, {}, {}};
    if (nombre == "polyline") {
      for (const QString& par : a.value("points").toString().split(' ', Qt::SkipEmptyParts)) {
        const QStringList xy = par.split(QLatin1Char(','));
        el.puntos << QPointF(xy.value(0).toDouble(), xy.value(1).toDouble()) + e.desplazamiento;
      }
    }
    if (nombre == "text") {
      el.texto = xml.readElementText();  // consumes the end element
      d.elementos.push_back(el);
      continue;
    }
    pila.push_back(e);
    d.elementos.push_back(el);
  }
  if (xml.hasError()) d.error = xml.errorString();
  return d;
}

}  // namespace prueba
