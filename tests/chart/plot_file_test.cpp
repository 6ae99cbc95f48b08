#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "chart/plot_model.h"

namespace {

namespace fs = std::filesystem;

class Espia : public TPlotModel {
 public:
  int repintados = 0;
  void Repintar() override { ++repintados; }
};

class ChartFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("fenwa_chart_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  static std::vector<std::uint8_t> Read(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
  static void Write(const std::string& p, const std::vector<std::uint8_t>& b) {
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  }

  fs::path dir_;
};

void PutLE(std::vector<std::uint8_t>& b, std::size_t off, std::uint64_t v, int width) {
  for (int i = 0; i < width; ++i) b[off + i] = std::uint8_t(v >> (8 * i));
}

// A record laid out by hand at the documented offsets, with noise in the unused bytes.
std::vector<std::uint8_t> Record(std::uint8_t kind, double x1, double y1, std::uint32_t color,
                                 std::uint8_t seed) {
  std::vector<std::uint8_t> b(64);
  for (std::size_t i = 0; i < 64; ++i) b[i] = std::uint8_t(seed * 31 + i * 7);
  PutLE(b, 4, std::bit_cast<std::uint64_t>(x1), 8);
  PutLE(b, 12, std::bit_cast<std::uint64_t>(y1), 8);
  PutLE(b, 20, color, 4);
  b[24] = 2;
  b[25] = 3;
  b[28] = kind;
  PutLE(b, 32, std::bit_cast<std::uint64_t>(x1 + 1), 8);
  PutLE(b, 40, std::bit_cast<std::uint64_t>(y1 + 1), 8);
  if (kind == tkText) b[29] = 4;
  return b;
}

TEST_F(ChartFile, RecordLayoutAtFixedOffsets) {
  TPlotModel p;
  p.SetDataColor(0x00123456);
  p.SetLineWidth(3);
  p.SetClassDefault(9);
  p.SetFillColor(0x00ABCDEF);
  p.MarkAt(1.5, -2.25, 17);
  p.Bar3D(1, 2, 3, 4, -7, 45);
  p.TextAt(0, 0, 12, "año");
  const auto b = p.SaveToBytes();
  ASSERT_EQ(b.size(), 3u * 64);
  double x;
  std::uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | b[4 + i];
  std::memcpy(&x, &u, 8);
  EXPECT_EQ(x, 1.5);
  EXPECT_EQ(b[20], 0x56);
  EXPECT_EQ(b[21], 0x34);
  EXPECT_EQ(b[22], 0x12);
  EXPECT_EQ(b[23], 0x00);
  EXPECT_EQ(b[24], 3);
  EXPECT_EQ(b[25], 9);
  EXPECT_EQ(b[28], 1);
  EXPECT_EQ(b[29], 17);
  const std::uint8_t* bar = b.data() + 64;
  EXPECT_EQ(bar[28], 6);
  EXPECT_EQ(bar[48], 0xEF);  // fill colour
  EXPECT_EQ(bar[52], 0xF9);  // depth -7, little-endian
  EXPECT_EQ(bar[55], 0xFF);
  EXPECT_EQ(bar[56], 45);    // angle
  const std::uint8_t* txt = b.data() + 128;
  EXPECT_EQ(txt[28], 7);
  EXPECT_EQ(txt[29], 3);  // Latin-1: one byte per character
  EXPECT_EQ(txt[30], 'a');
  EXPECT_EQ(txt[31], 0xF1);
  EXPECT_EQ(txt[32], 'o');
  EXPECT_EQ(txt[48], 12);
}

TEST_F(ChartFile, EmptyChartGivesEmptyFile) {
  Espia p;
  ASSERT_TRUE(p.SaveToFile(Path("vacio.grf")));
  EXPECT_EQ(fs::file_size(Path("vacio.grf")), 0u);
  p.MarkAt(1, 1, 1);
  EXPECT_TRUE(p.LoadFromFile(Path("vacio.grf"), false));
  EXPECT_EQ(p.ItemCount(), 0u);
  EXPECT_EQ(p.repintados, 1);
}

TEST_F(ChartFile, LoadKeepsEveryFieldAndSavesTheSameBytes) {
  std::vector<std::uint8_t> file;
  const std::uint8_t kinds[] = {tkMarkAt, tkLine, tkLineto, tkRect, tkRectFrame,
                                tk3DBar,  tkText, tkMoveTo, tkEllipse, 10, 200};
  std::uint8_t seed = 1;
  for (std::uint8_t k : kinds) {
    const auto r = Record(k, seed * 1.25, -seed * 0.5, 0x80000000u | seed, seed);
    file.insert(file.end(), r.begin(), r.end());
    ++seed;
  }
  Write(Path("in.grf"), file);
  TPlotModel p;
  p.SetDataColor(clYellow);
  ASSERT_TRUE(p.LoadFromFile(Path("in.grf"), false));
  ASSERT_EQ(p.ItemCount(), std::size(kinds));
  EXPECT_EQ(p.Item(0).Kind(), tkMarkAt);
  EXPECT_EQ(p.Item(0).Color(), 0x80000001u);  // the stored colour, not DataColor
  EXPECT_EQ(p.Item(1).X2(), 2.5 + 1);
  EXPECT_EQ(p.Item(6).TextLatin1().size(), 4u);
  EXPECT_EQ(int(p.Item(10).Kind()), 200);  // kept, drawn as nothing
  ASSERT_TRUE(p.SaveToFile(Path("out.grf")));
  const auto back = Read(Path("out.grf"));
  ASSERT_EQ(back.size(), file.size());
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (i % 64 >= 4) {
      EXPECT_EQ(back[i], file[i]) << "offset " << i;
    }
  }
}

// The kinds added later travel in the same 64-byte records: a file with labels, intervals
// and dotted lines reads back item for item and byte for byte, and its listing names them.
// A file of the first kinds only is read as before (LoadKeepsEveryFieldAndSavesTheSameBytes),
// and a reader of those kinds keeps the new records and draws nothing for them.
TEST_F(ChartFile, TiposAnadidosIdaYVuelta) {
  TPlotModel a;
  a.MarkAt(0.8, 1, 17);
  a.Label(0.5, 1, lpLeftRim, laRight, 8, "Whittle Estándar, un nombre de más de 32 bytes");
  a.Label(0.5, 1, lpRightRim, laRight, 8, "0,802 [0,789; 0,815]");
  a.Whisker(0.789, 1, 0.815, 1, 5);
  a.DotLine(0.5, 0.5, 0.5, 12.5);
  ASSERT_TRUE(a.SaveToFile(Path("nuevo.grf")));
  EXPECT_EQ(Read(Path("nuevo.grf")).size(), a.ItemCount() * 64);
  TPlotModel b;
  ASSERT_TRUE(b.LoadFromFile(Path("nuevo.grf"), false));
  ASSERT_EQ(b.ItemCount(), a.ItemCount());
  for (std::size_t i = 0; i < a.ItemCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(std::equal(a.Item(i).Bytes.begin() + 4, a.Item(i).Bytes.end(),
                           b.Item(i).Bytes.begin() + 4));
  }
  EXPECT_EQ(b.LabelText(1), "Whittle Estándar, un nombre de más de 32 bytes");
  const std::string listado = b.DumpText();
  for (const char* parte : {"elemtype: tkLabel", "elemtype: tkLabelMore", "elemtype: tkWhisker",
                            "elemtype: tkDotLine", "text: '0,802 [0,789; 0,815]'", "cap: 5"})
    EXPECT_NE(listado.find(parte), std::string::npos) << parte;
}

TEST_F(ChartFile, AppendKeepsExistingItems) {
  TPlotModel a;
  a.MarkAt(1, 1, 3);
  a.Line(0, 0, 1, 1);
  ASSERT_TRUE(a.SaveToFile(Path("a.grf")));
  TPlotModel b;
  b.MoveTo(5, 5);
  b.DrawNewItems();
  ASSERT_TRUE(b.LoadFromFile(Path("a.grf"), true));
  ASSERT_EQ(b.ItemCount(), 3u);
  EXPECT_EQ(b.Item(0).Kind(), tkMoveTo);
  EXPECT_EQ(b.Item(1).Kind(), tkMarkAt);
  EXPECT_EQ(b.Item(2).Kind(), tkLine);
  EXPECT_EQ(b.DrawnUpTo(), 1u);  // the loaded items count as new
}

TEST_F(ChartFile, MissingFileEmptiesTheChartAndReportsFailure) {
  Espia p;
  p.MarkAt(1, 1, 1);
  EXPECT_FALSE(p.LoadFromFile(Path("no_existe.grf"), false));
  EXPECT_EQ(p.ItemCount(), 0u);
  EXPECT_EQ(p.repintados, 1);
  p.MarkAt(1, 1, 1);
  EXPECT_FALSE(p.LoadFromFile(Path("no_existe.grf"), true));
  EXPECT_EQ(p.ItemCount(), 1u);
  EXPECT_FALSE(p.LoadFromFile(dir_.string(), false));  // a folder is no chart file
  EXPECT_EQ(p.ItemCount(), 0u);
  EXPECT_FALSE(p.SaveToFile(Path("no_such_dir/x.grf")));
  EXPECT_FALSE(p.DumpItems(Path("no_such_dir/x.txt")));
}

TEST_F(ChartFile, UntrustedFileContents) {
  std::vector<std::uint8_t> file = Record(tkText, 1, 2, 0, 1);
  file[29] = 200;  // length byte beyond the 15 characters
  auto r2 = Record(tkMarkAt, 3, 4, 0, 2);
  file.insert(file.end(), r2.begin(), r2.end());
  file.insert(file.end(), 40, 0xAB);  // trailing partial record
  Write(Path("raro.grf"), file);
  TPlotModel p;
  ASSERT_TRUE(p.LoadFromFile(Path("raro.grf"), false));
  ASSERT_EQ(p.ItemCount(), 2u);
  EXPECT_EQ(p.Item(0).TextLatin1().size(), 15u);
  EXPECT_EQ(p.Item(1).X1(), 3);
  EXPECT_NO_FATAL_FAILURE((void)p.DumpText());
}

TEST_F(ChartFile, TerminatorRecordEndsTheList) {
  std::vector<std::uint8_t> file = Record(tkMarkAt, 1, 1, 0, 1);
  auto fin = Record(tkNone, 0, 0, 0, 2);
  auto mas = Record(tkLine, 5, 5, 0, 3);
  file.insert(file.end(), fin.begin(), fin.end());
  file.insert(file.end(), mas.begin(), mas.end());
  Write(Path("fin.grf"), file);
  TPlotModel p;
  ASSERT_TRUE(p.LoadFromFile(Path("fin.grf"), false));
  ASSERT_EQ(p.ItemCount(), 1u);
  p.MoveTo(2, 2);  // added later: visible after the loaded part
  EXPECT_EQ(p.LastItemKind(), tkMoveTo);
}

TEST_F(ChartFile, LargeFileLoadsAcrossReadBlocks) {
  TPlotModel a;
  for (int i = 0; i < 5000; ++i) a.LineTo(i, i % 7);
  ASSERT_TRUE(a.SaveToFile(Path("grande.grf")));
  TPlotModel b;
  ASSERT_TRUE(b.LoadFromFile(Path("grande.grf"), false));
  ASSERT_EQ(b.ItemCount(), 5000u);
  EXPECT_EQ(b.Item(4999).X1(), 4999);
  EXPECT_EQ(b.SaveToBytes(), a.SaveToBytes());
}

TEST_F(ChartFile, DumpItemsLayout) {
  TPlotModel p;
  p.SetDataColor(clYellow);
  p.MarkAt(1, 2.5, 17);
  p.SetDataColor(0x00102030);
  p.SetClassDefault(1);
  p.Line(-1, 0, 3.14159, 2);
  p.SetFillColor(clBtnFace);
  p.RectFrame(0, 0, 1, 1, rbRaised, clGray, clWhite);
  p.TextAt(0, 0, 8, "año");
  p.Ellipse(1, 1, 0.5, 0.25);
  p.Bar3D(0, 0, 1, 1, 5, 30);
  p.MoveTo(0, 0);
  const std::string esperado =
      "\n------ item 1 ------\n"
      " elemtype: tkMarkAt\n"
      " startpnt: [1.0000/2.5000]\n"
      "    color: clYellow\n"
      "linewidth: 1\n"
      " classnum: 0\n"
      " marktype: 17\n"
      "\n------ item 2 ------\n"
      " elemtype: tkLine\n"
      " startpnt: [-1.0000/0.0000]\n"
      "    color: $00102030\n"
      "linewidth: 1\n"
      " classnum: 1\n"
      " endpoint: [3.1416/2.0000]\n"
      "\n------ item 3 ------\n"
      " elemtype: tkRectFrame\n"
      " startpnt: [0.0000/0.0000]\n"
      "    color: $00102030\n"
      "linewidth: 1\n"
      " classnum: 1\n"
      "   corner: [1.0000/1.0000]\n"
      "fillcolor: clBtnFace\n"
      "frametype: rbRaised\n"
      "shadowcol: clGray\n"
      "hilitecol: clWhite\n"
      "\n------ item 4 ------\n"
      " elemtype: tkText\n"
      " startpnt: [0.0000/0.0000]\n"
      "    color: $00102030\n"
      "linewidth: 1\n"
      " classnum: 1\n"
      "     text: 'año'\n"
      "     size: 8\n"
      "\n------ item 5 ------\n"
      " elemtype: tkEllipse\n"
      " startpnt: [1.0000/1.0000]\n"
      "    color: $00102030\n"
      "linewidth: 1\n"
      " classnum: 1\n"
      " halfaxes: 0.5000 0.2500\n"
      "fillcolor: clBtnFace\n"
      "\n------ item 6 ------\n"
      " elemtype: tk3DBar\n"
      " startpnt: [0.0000/0.0000]\n"
      "    color: $00102030\n"
      "linewidth: 1\n"
      " classnum: 1\n"
      " endpoint: [1.0000/1.0000]\n"
      "fillcolor: clBtnFace\n"
      "    depth: 5\n"
      "    angle: 30\n"
      "\n------ item 7 ------\n"
      " elemtype: tkMoveTo\n"
      " startpnt: [0.0000/0.0000]\n"
      "    color: $00102030\n"
      "linewidth: 1\n"
      " classnum: 1\n";
  EXPECT_EQ(p.DumpText(), esperado);
  ASSERT_TRUE(p.DumpItems(Path("lista.txt")));
  const auto bytes = Read(Path("lista.txt"));
  const std::string enArchivo(bytes.begin(), bytes.end());
  EXPECT_NE(enArchivo.find(std::string("'a\xF1o'")), std::string::npos);  // Latin-1
}

TEST(Colors, ResolutionAndNames) {
  EXPECT_EQ(ResolverColor(clRed), 0xFF0000u);
  EXPECT_EQ(ResolverColor(0x00112233), 0x332211u);
  EXPECT_EQ(ResolverColor(clBtnFace), 0xF0F0F0u);
  EXPECT_EQ(ResolverColor(clWindowText), 0u);
  EXPECT_EQ(ResolverColor(clWindow), 0xFFFFFFu);
  EXPECT_EQ(ColorPlano(clGrayText), ColorDesdeRGB(109, 109, 109));
  EXPECT_EQ(ResolverColor(0x800000FFu), 0u);  // outside the palette: black
  EXPECT_EQ(ColorToString(clSilver), "clSilver");
  EXPECT_EQ(ColorToString(clGrayText), "clGrayText");
  EXPECT_EQ(ColorToString(0x00FF8040), "$00FF8040");
}

}  // namespace
