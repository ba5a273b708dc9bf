// PCX pictures: each layout written here decodes to the same pixels, colours
// and dark pixels as the same picture saved as PNG and read by Qt; damaged
// files are refused.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "document/objects/CObjImage.h"
#include "platform/PcxDecoder.h"
#include "platform/PictureLoader.h"
#include "platform_qt/QtPictureDecoder.h"
#include "tests/support/PcxTestFile.h"

namespace {

constexpr int kWidth = 13;  // not a whole number of bytes in any depth
constexpr int kHeight = 7;

std::string Png(const QImage& image) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "PNG"));
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

std::vector<std::uint32_t> Palette(int n) {
  std::vector<std::uint32_t> palette;
  // Not in brightness order, so a decoder that sorts by grey shows up.
  for (int i = 0; i < n; ++i) {
    palette.push_back(static_cast<std::uint32_t>((i * 97 % 256) << 16 | (i * 31 % 256) << 8 | (255 - i * 13 % 256)));
  }
  return palette;
}

// The same picture as a PCX of the kind and as a QImage.
struct Sample {
  PcxPicture pcx;
  QImage image;
};

Sample MakeSample(PcxKind kind, bool runsAcrossLines) {
  Sample s;
  s.pcx.kind = kind;
  s.pcx.width = kWidth;
  s.pcx.height = kHeight;
  s.pcx.runsAcrossLines = runsAcrossLines;
  const int colours = kind == PcxKind::Mono ? 2 : kind == PcxKind::Planes8 ? 8 : kind == PcxKind::Palette256 ? 256 : 16;
  if (kind != PcxKind::Rgb) s.pcx.palette = Palette(colours);
  if (kind == PcxKind::Mono) s.pcx.palette = {0x000000, 0xFFFFFF};
  s.image = kind == PcxKind::Rgb ? QImage(kWidth, kHeight, QImage::Format_RGB32)
                                 : QImage(kWidth, kHeight, QImage::Format_Indexed8);
  if (kind != PcxKind::Rgb) {
    QList<QRgb> table;
    for (std::uint32_t c : s.pcx.palette) table.push_back(0xFF000000u | c);
    s.image.setColorTable(table);
  }
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      // Runs on the upper lines, every value below.
      const int n = y < 3 ? (x < 9 ? 1 : 0) : (x * 3 + y * 5) % colours;
      const std::uint32_t rgb = static_cast<std::uint32_t>((x * 19) << 16 | (y * 36) << 8 | (y < 3 ? 0xC3 : x * y * 3));
      const std::uint32_t v = kind == PcxKind::Rgb ? rgb : static_cast<std::uint32_t>(n);
      s.pcx.pixels.push_back(v);
      s.image.setPixel(x, y, kind == PcxKind::Rgb ? 0xFF000000u | rgb : v);
    }
  }
  return s;
}

struct KindCase {
  const char* name;
  PcxKind kind;
  int depth;
  bool runsAcrossLines;
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

class PcxPictureTest : public ::testing::TestWithParam<KindCase> {
 protected:
  void SetUp() override { platform_qt::InstallQtPictureDecoder(); }
  void TearDown() override { platform::SetPictureDecoder(nullptr); }
};

TEST_P(PcxPictureTest, DecodesToTheSamePictureAsItsPng) {
  const KindCase& c = GetParam();
  const Sample sample = MakeSample(c.kind, c.runsAcrossLines);
  platform::PictureBitmap pcx;
  platform::PictureBitmap png;
  ASSERT_TRUE(platform::DecodePicture(EncodePcx(sample.pcx), pcx));
  ASSERT_TRUE(platform::DecodePicture(Png(sample.image), png));
  ASSERT_EQ(pcx.width, kWidth);
  ASSERT_EQ(pcx.height, kHeight);
  EXPECT_EQ(pcx.bitsPerPixel, c.depth);
  EXPECT_EQ(png.bitsPerPixel, c.depth);
  for (int row = 0; row < kHeight; ++row) {
    for (int x = 0; x < kWidth; ++x) {
      EXPECT_EQ(pcx.PixelColor(x, row), png.PixelColor(x, row)) << x << "," << row;
      EXPECT_EQ(CObjImage::IsDarkPixel(pcx.bits.data(), x, row, pcx.bitsPerPixel, pcx.bytesPerRow),
                CObjImage::IsDarkPixel(png.bits.data(), x, row, png.bitsPerPixel, png.bytesPerRow))
          << x << "," << row;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PcxPictureTest,
    ::testing::Values(KindCase{"Mono", PcxKind::Mono, 1, false}, KindCase{"Planes8", PcxKind::Planes8, 4, false},
                      KindCase{"Planes16", PcxKind::Planes16, 4, false},
                      KindCase{"Packed16", PcxKind::Packed16, 4, false},
                      KindCase{"Palette256", PcxKind::Palette256, 8, false}, KindCase{"Rgb", PcxKind::Rgb, 24, false},
                      KindCase{"RunsAcrossLines", PcxKind::Palette256, 8, true},
                      KindCase{"RgbRunsAcrossLines", PcxKind::Rgb, 24, true}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

// Each damage applied to a good 24-bit file (or the 256-colour one).
struct DamageCase {
  const char* name;
  PcxKind kind;
  std::function<void(std::string&)> damage;
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

void PutWord(std::string& b, std::size_t at, int v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

std::vector<DamageCase> DamageCases() {
  return {
      {"HeaderOnly", PcxKind::Rgb, [](std::string& b) { b.resize(128); }},
      {"ShortHeader", PcxKind::Rgb, [](std::string& b) { b.resize(100); }},
      {"DataCutShort", PcxKind::Rgb, [](std::string& b) { b.resize(b.size() - 10); }},
      {"RunWithoutItsValue", PcxKind::Mono, [](std::string& b) { b.back() = '\xC5'; }},
      {"RightBeforeLeft", PcxKind::Rgb, [](std::string& b) { PutWord(b, 8, 0), PutWord(b, 4, 5); }},
      {"BottomBeforeTop", PcxKind::Rgb, [](std::string& b) { PutWord(b, 10, 0), PutWord(b, 6, 3); }},
      {"AbsurdSize", PcxKind::Rgb, [](std::string& b) { PutWord(b, 8, 65535), PutWord(b, 10, 65535); }},
      {"LinesLongerThanTheFile", PcxKind::Rgb, [](std::string& b) { PutWord(b, 66, 65534); }},
      {"LineShorterThanTheWidth", PcxKind::Rgb, [](std::string& b) { PutWord(b, 66, 4); }},
      {"TwoBitsPerPixel", PcxKind::Mono, [](std::string& b) { b[3] = 2; }},
      {"FivePlanes", PcxKind::Mono, [](std::string& b) { b[65] = 5; }},
      {"NotRunLength", PcxKind::Rgb, [](std::string& b) { b[2] = 0; }},
      {"DataCutBeforeThePalette", PcxKind::Palette256, [](std::string& b) { b.erase(b.size() - 769 - 10, 10); }},
  };
}

class DamagedPcxTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedPcxTest, IsRefused) {
  const DamageCase& c = GetParam();
  std::string bytes = EncodePcx(MakeSample(c.kind, false).pcx);
  platform::PictureBitmap good;
  ASSERT_TRUE(platform::PcxDecoder().Decode(bytes, good));
  c.damage(bytes);
  platform::PictureBitmap out;
  EXPECT_FALSE(platform::DecodePicture(bytes, out));
  EXPECT_TRUE(out.IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedPcxTest, ::testing::ValuesIn(DamageCases()),
                         [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

TEST(PcxDecoderTest, ARunPastTheLastLineIsCutThere) {
  PcxPicture p;
  p.kind = PcxKind::Palette256;
  p.width = 4;
  p.height = 2;
  p.pixels.assign(8, 200);
  p.palette = Palette(256);
  p.runsAcrossLines = true;
  std::string bytes = EncodePcx(p);
  // The one run of 8 bytes becomes a run of 63: the lines take 8 of them.
  const std::size_t run = bytes.find('\xC8', 128);
  ASSERT_NE(run, std::string::npos);
  bytes[run] = '\xFF';
  platform::PictureBitmap out;
  ASSERT_TRUE(platform::PcxDecoder().Decode(bytes, out));
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(out.bits[static_cast<std::size_t>(row * out.bytesPerRow + x)], 200);
  }
}

TEST(PcxDecoderTest, A256ColourPictureWithoutItsPaletteReadsAsGreys) {
  PcxPicture p;
  p.kind = PcxKind::Palette256;
  p.width = 3;
  p.height = 1;
  p.pixels = {0, 100, 255};
  p.palette = Palette(256);
  std::string bytes = EncodePcx(p);
  bytes.resize(bytes.size() - 769);
  platform::PictureBitmap out;
  ASSERT_TRUE(platform::PcxDecoder().Decode(bytes, out));
  EXPECT_EQ(out.PixelColor(1, 0), 0xFF646464u);
  EXPECT_EQ(out.PixelColor(2, 0), 0xFFFFFFFFu);
}

}  // namespace
