// Chart files: a headerless sequence of 64-byte item records, and the text listing.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include "chart/plot_model.h"
#include "numeric/fichero_atomico.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { if (f) std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Fixed4(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
  return std::string(buf, r.ptr);
}

std::string Int(long long v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

const char* KindName(ItemType k) {
  static const char* kNames[] = {"tkMarkAt", "tkLine", "tkLineTo", "tkRect", "tkRectFrame",
                                 "tk3DBar", "tkText", "tkMoveTo", "tkEllipse"};
  static const char* kAnadidos[] = {"tkLabel", "tkLabelMore", "tkWhisker", "tkDotLine"};
  if (k >= tkMarkAt && k <= tkEllipse) return kNames[k - 1];
  if (k >= tkLabel && k <= tkDotLine) return kAnadidos[k - tkLabel];
  return nullptr;
}

const char* FrameName(std::uint8_t f) {
  static const char* kNames[] = {"rbLowered", "rbRaised", "rbEmbossed", "rbEngraved"};
  return f <= rbEngraved ? kNames[f] : nullptr;
}

// Writes the whole file or leaves the target as it was.
bool WriteWhole(const std::string& fileName, std::string_view bytes, int* errorNumber) {
  FicheroAtomico f(fileName);
  const bool ok = f.Escribir(bytes) && f.Terminar();
  if (errorNumber) *errorNumber = ok ? 0 : f.Error();
  return ok;
}

}  // namespace

std::vector<std::uint8_t> TPlotModel::SaveToBytes() const {
  std::vector<std::uint8_t> out;
  out.reserve(items_.size() * TPlotItem::kSize);
  for (const TPlotItem& it : items_) {
    TPlotItem rec = it;
    rec.SetU32(0, 0);  // the link is meaningless outside memory
    out.insert(out.end(), rec.Bytes.begin(), rec.Bytes.end());
  }
  return out;
}

bool TPlotModel::SaveToFile(const std::string& fileName, int* errorNumber) const {
  const std::vector<std::uint8_t> bytes = SaveToBytes();
  return WriteWhole(fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                    errorNumber);
}

void TPlotModel::AppendFromBytes(const std::uint8_t* data, std::size_t size) {
  for (std::size_t off = 0; off + TPlotItem::kSize <= size; off += TPlotItem::kSize) {
    TPlotItem it = TPlotItem::FromBytes(data + off);
    if (it.Kind() == tkNone) return;  // a terminator ends the list
    it.SetU32(0, 0);
    items_.push_back(it);
  }
}

bool TPlotModel::LoadFromFile(const std::string& fileName, bool append) {
  if (!append) {
    items_.clear();
    drawnUpTo_ = 0;
  }
  bool ok = false;
  if (File f{std::fopen(fileName.c_str(), "rb")}) {
    // Read in blocks of whole records; a record that spans two blocks is carried over.
    std::vector<std::uint8_t> buf(TPlotItem::kSize * 1024);
    std::size_t held = 0;
    bool ended = false;
    while (!ended) {
      const std::size_t n = std::fread(buf.data() + held, 1, buf.size() - held, f.get());
      held += n;
      const std::size_t whole = held / TPlotItem::kSize * TPlotItem::kSize;
      const std::size_t before = items_.size();
      AppendFromBytes(buf.data(), whole);
      if (items_.size() - before < whole / TPlotItem::kSize) ended = true;  // terminator met
      std::copy(buf.begin() + whole, buf.begin() + held, buf.begin());
      held -= whole;
      if (n == 0) break;
    }
    ok = !std::ferror(f.get());
  }
  Repintar();
  return ok;
}

std::string TPlotModel::DumpText() const {
  std::string s;
  std::size_t k = 0;
  for (const TPlotItem& it : items_) {
    ++k;
    const char* kind = KindName(it.Kind());
    s += "\n------ item " + Int(static_cast<long long>(k)) + " ------\n";
    s += std::string(" elemtype: ") + (kind ? kind : Int(it.Kind()).c_str()) + "\n";
    s += " startpnt: [" + Fixed4(it.X1()) + "/" + Fixed4(it.Y1()) + "]\n";
    s += "    color: " + ColorToString(it.Color()) + "\n";
    s += "linewidth: " + Int(it.LineWidth()) + "\n";
    s += " classnum: " + Int(it.ClassNum()) + "\n";
    const std::string corner = "   corner: [" + Fixed4(it.X2()) + "/" + Fixed4(it.Y2()) + "]\n";
    const std::string endpoint = " endpoint: [" + Fixed4(it.X2()) + "/" + Fixed4(it.Y2()) + "]\n";
    const std::string fill = "fillcolor: " + ColorToString(it.FillColor()) + "\n";
    switch (it.Kind()) {
      case tkMarkAt:
        s += " marktype: " + Int(it.MarkType()) + "\n";
        break;
      case tkLine:
        s += endpoint;
        break;
      case tkRect:
        s += corner + fill;
        break;
      case tkRectFrame: {
        const char* fr = FrameName(it.Bytes[52]);
        s += corner + fill;
        s += std::string("frametype: ") + (fr ? fr : Int(it.Bytes[52]).c_str()) + "\n";
        s += "shadowcol: " + ColorToString(it.ShadowColor()) + "\n";
        s += "hilitecol: " + ColorToString(it.HiliteColor()) + "\n";
        break;
      }
      case tk3DBar:
        s += endpoint + fill;
        s += "    depth: " + Int(it.Depth()) + "\n";
        s += "    angle: " + Int(it.Angle()) + "\n";
        break;
      case tkText:
        s += "     text: '" + it.Text() + "'\n";
        s += "     size: " + Int(it.CharSize()) + "\n";
        break;
      case tkEllipse:
        s += " halfaxes: " + Fixed4(it.X2()) + " " + Fixed4(it.Y2()) + "\n";
        s += fill;
        break;
      case tkLabel:
        s += "     text: '" + LabelText(k - 1) + "'\n";
        s += "    place: " + Int(it.LabelPlace()) + "\n";
        s += "    align: " + Int(it.LabelAlign()) + "\n";
        s += "     size: " + Int(it.LabelSize()) + "\n";
        break;
      case tkWhisker:
        s += endpoint;
        s += "      cap: " + Int(it.CapSize()) + "\n";
        break;
      case tkDotLine:
        s += endpoint;
        break;
      default:
        break;
    }
  }
  return s;
}

bool TPlotModel::DumpItems(const std::string& fileName, int* errorNumber) const {
  return WriteWhole(fileName, Utf8ALatin1(DumpText()), errorNumber);  // item texts in Latin-1
}
