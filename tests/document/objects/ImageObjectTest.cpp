// Pictures: decoding through the GUI's image readers, the darkness rule of
// each depth, the blob search and the dots it makes, sizes and handles, the
// picture's bytes inside project files, copies and drawing.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "values/ShellValues.h"
#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/mrk/MrkKeys.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "document/objects/HandleResize.h"
#include "document/objects/ObjTypeOps.h"
#include "platform/DeviceContext.h"
#include "platform/InstallDir.h"
#include "platform_qt/QPainterDeviceContext.h"
#include "platform_qt/QtPictureDecoder.h"

namespace {

std::string Encode(const QImage& image, const char* format) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format));
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

// White picture with black pixels at the given (x, y), top-down as drawn.
QImage Picture(int w, int h, std::initializer_list<std::pair<int, int>> black) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (auto [x, y] : black) image.setPixel(x, y, qRgb(0, 0, 0));
  return image;
}

std::vector<CPixelRect> Boxes(const CPointArrayList& blobs) {
  std::vector<CPixelRect> boxes;
  for (int i = 0; i < blobs.GetSize(); ++i) boxes.push_back(blobs[i].GetBoundRect());
  return boxes;
}

std::vector<CPixelRect> Blobs(const QImage& image) {
  platform::PictureBitmap bitmap = platform_qt::BitmapFromImage(image);
  return Boxes(CObjImage::FindDarkBlobs(bitmap));
}

bool DarkAt(const platform::PictureBitmap& b, int x, int yTopDown) {
  return CObjImage::IsDarkPixel(b.bits.data(), x, b.height - 1 - yTopDown, b.bitsPerPixel, b.bytesPerRow);
}

// The blob search as literally stated: blobs asked for a near point from the
// most recent to the first.
CPointArrayList ReferenceBlobs(const platform::PictureBitmap& b) {
  CPointArrayList blobs;
  for (int r = 1; r <= b.height - 2; ++r) {
    for (int c = 1; c <= b.width - 2; ++c) {
      if (!CObjImage::IsDarkPixel(b.bits.data(), c, r, b.bitsPerPixel, b.bytesPerRow)) continue;
      int i = blobs.GetSize() - 1;
      while (i >= 0 && !blobs[i].HasNearPoint(c, r)) --i;
      if (i >= 0) {
        blobs[i].Add(c, r);
      } else {
        blobs.AddBlob(c, r);
      }
    }
  }
  return blobs;
}

bool SameBlobs(const CPointArrayList& a, const CPointArrayList& b) {
  if (a.GetSize() != b.GetSize()) return false;
  for (int i = 0; i < a.GetSize(); ++i) {
    if (a[i].GetSize() != b[i].GetSize()) return false;
    for (int j = 0; j < a[i].GetSize(); ++j) {
      if (a[i][j].x != b[i][j].x || a[i][j].y != b[i][j].y) return false;
    }
  }
  return true;
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_qt::InstallQtPictureDecoder();
    RegisterObjTypeOps(ObjClassId::Image, &ImageTypeOps());
    RegisterObjTypeOps(ObjClassId::DotCollect, &DotCollectTypeOps());
    DistanceHor = DistanceVer = 1.0f;
    savedFolder_ = InstallFolder;
    InstallFolder = platform::DefaultDataFolder();
  }
  void TearDown() override { InstallFolder = savedFolder_; }

  // An element owning a picture made of the bytes.
  static std::unique_ptr<CObjElement> PictureElement(const std::string& bytes) {
    auto* image = new CObjImage;
    image->LoadFromBytes(bytes);
    auto e = std::make_unique<CObjElement>(CObjCreateRecord{"Picture-1", OBJ_PICTURE, image, sizeof(CObjImage), {}});
    e->UpdateBoundRect();
    return e;
  }

  std::string savedFolder_;
};

TEST_F(PictureTest, EachDepthDecodesWithItsOwnDarknessRule) {
  QImage mono(8, 4, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mono.fill(1);
  mono.setPixel(2, 1, 0);
  platform::PictureBitmap b;
  ASSERT_TRUE(platform::DecodePicture(Encode(mono, "BMP"), b));
  EXPECT_EQ(b.bitsPerPixel, 1);
  EXPECT_TRUE(DarkAt(b, 2, 1));
  EXPECT_FALSE(DarkAt(b, 3, 1));
  EXPECT_FALSE(DarkAt(b, 2, 2));
  // Palette pictures: 16 colours are 4 bits, dark below 9 in either half of
  // a byte; 256 colours are 8 bits, dark below 128.
  QImage sixteen(4, 1, QImage::Format_Indexed8);
  QList<QRgb> greys16;
  for (int i = 0; i < 16; ++i) greys16.push_back(qRgb(i * 17, i * 17, i * 17));
  sixteen.setColorTable(greys16);
  const int indices[] = {8, 9, 9, 8};
  for (int x = 0; x < 4; ++x) sixteen.setPixel(x, 0, static_cast<uint>(indices[x]));
  ASSERT_TRUE(platform::DecodePicture(Encode(sixteen, "BMP"), b));
  EXPECT_EQ(b.bitsPerPixel, 4);
  EXPECT_TRUE(DarkAt(b, 0, 0));
  EXPECT_FALSE(DarkAt(b, 1, 0));
  EXPECT_FALSE(DarkAt(b, 2, 0));
  EXPECT_TRUE(DarkAt(b, 3, 0));

  QImage grey(2, 1, QImage::Format_Indexed8);
  QList<QRgb> greys;
  for (int i = 0; i < 256; ++i) greys.push_back(qRgb(i, i, i));
  grey.setColorTable(greys);
  grey.setPixel(0, 0, 127);
  grey.setPixel(1, 0, 128);
  ASSERT_TRUE(platform::DecodePicture(Encode(grey, "BMP"), b));
  EXPECT_EQ(b.bitsPerPixel, 8);
  EXPECT_TRUE(DarkAt(b, 0, 0));
  EXPECT_FALSE(DarkAt(b, 1, 0));

  // True colour weighs red, green and blue as brightness does: orange is
  // light, dark blue is dark; transparent parts are paper, not ink.
  QImage colour(3, 1, QImage::Format_ARGB32);
  colour.setPixel(0, 0, qRgb(255, 120, 0));
  colour.setPixel(1, 0, qRgb(0, 0, 160));
  colour.setPixel(2, 0, qRgba(0, 0, 0, 0));
  ASSERT_TRUE(platform::DecodePicture(Encode(colour, "PNG"), b));
  EXPECT_EQ(b.bitsPerPixel, 24);
  EXPECT_FALSE(DarkAt(b, 0, 0));
  EXPECT_TRUE(DarkAt(b, 1, 0));
  EXPECT_FALSE(DarkAt(b, 2, 0));

  EXPECT_FALSE(platform::DecodePicture("not a picture at all", b));
  EXPECT_FALSE(platform::DecodePicture("", b));
}

// A palette picture whose index order is not its brightness order: in BMP
// files, and in other files of more than two colours, dark is told from the
// raw index, as the darkness rule of each depth reads it; a two-colour
// picture of another format is dark where its colour is, as the same picture
// in true colour. Either way the picture still draws in its own colours.
struct PaletteCase {
  const char* name;
  const char* format;
  QImage::Format imageFormat;
  std::vector<QRgb> table;
  std::vector<uint> indices;  // one row
  int depth;
  std::vector<bool> dark;
};

void PrintTo(const PaletteCase& c, std::ostream* os) { *os << c.name; }

QList<QRgb> Greys(int n, bool reversed) {
  QList<QRgb> table;
  for (int i = 0; i < n; ++i) {
    const int g = (reversed ? n - 1 - i : i) * 255 / (n - 1);
    table.push_back(qRgb(g, g, g));
  }
  return table;
}

std::vector<PaletteCase> PaletteCases() {
  const QRgb white = qRgb(255, 255, 255);
  const QRgb black = qRgb(0, 0, 0);
  QList<QRgb> shuffled = Greys(256, false);
  std::swap(shuffled[3], shuffled[250]);  // black-ish at 250, near white at 3
  shuffled[7] = qRgba(0, 0, 0, 0);        // transparent: drawn as paper
  const QList<QRgb> sixteen = Greys(16, true);
  return {
      {"MonoWhiteFirstBmp", "BMP", QImage::Format_Mono, {white, black}, {0, 1, 1, 0}, 1, {true, false, false, true}},
      {"MonoWhiteFirstPng", "PNG", QImage::Format_Mono, {white, black}, {0, 1, 1, 0}, 1, {false, true, true, false}},
      {"MonoBlackFirstBmp", "BMP", QImage::Format_Mono, {black, white}, {0, 1, 1, 0}, 1, {true, false, false, true}},
      {"TwoColoursWhiteFirstPng", "PNG", QImage::Format_Indexed8, {white, black}, {1, 0, 0, 1}, 1,
       {true, false, false, true}},
      {"TwoLightColoursPng", "PNG", QImage::Format_Indexed8, {white, qRgb(200, 200, 200)}, {1, 0, 0, 1}, 4,
       {false, false, false, false}},
      {"OneLightColourPng", "PNG", QImage::Format_Indexed8, {white}, {0, 0, 0, 0}, 1, {false, false, false, false}},
      {"TwoDarkColoursPng", "PNG", QImage::Format_Indexed8, {qRgb(0, 0, 120), black}, {1, 0, 0, 1}, 4,
       {true, true, true, true}},
      {"SixteenWhiteFirstBmp", "BMP", QImage::Format_Indexed8, {sixteen.begin(), sixteen.end()}, {0, 8, 9, 15}, 4,
       {true, true, false, false}},
      {"ShuffledTransparentPng", "PNG", QImage::Format_Indexed8, {shuffled.begin(), shuffled.end()}, {250, 3, 7, 128},
       8, {false, true, true, false}},
  };
}

class PalettePictureTest : public PictureTest, public ::testing::WithParamInterface<PaletteCase> {};

TEST_P(PalettePictureTest, DarkFollowsTheIndexRuleOrTheTwoColoursAndTheColoursStayTheFiles) {
  const PaletteCase& c = GetParam();
  const int w = static_cast<int>(c.indices.size());
  QImage image(w, 1, c.imageFormat);
  image.setColorTable(QList<QRgb>(c.table.begin(), c.table.end()));
  for (int x = 0; x < w; ++x) image.setPixel(x, 0, c.indices[static_cast<std::size_t>(x)]);
  platform::PictureBitmap b;
  ASSERT_TRUE(platform::DecodePicture(Encode(image, c.format), b));
  EXPECT_EQ(b.bitsPerPixel, c.depth);
  for (int x = 0; x < w; ++x) {
    EXPECT_EQ(DarkAt(b, x, 0), c.dark[static_cast<std::size_t>(x)]) << "pixel " << x;
    const QRgb entry = c.table[c.indices[static_cast<std::size_t>(x)]];
    const QRgb shown = qAlpha(entry) == 0 ? qRgb(255, 255, 255) : entry;
    EXPECT_EQ(b.PixelColor(x, 0), static_cast<std::uint32_t>(shown)) << "pixel " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Palettes, PalettePictureTest, ::testing::ValuesIn(PaletteCases()),
                         [](const ::testing::TestParamInfo<PaletteCase>& info) { return std::string(info.param.name); });

// Run-length coded BMPs written by tests/data/pictures/make_pictures.py.
std::string PictureFileBytes(const std::string& name) {
  std::ifstream in(std::string(VENDRIK_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every pixel coded (encoded and absolute runs of odd lengths, in RLE4 two
// values taking turns): the same picture as the file stored uncompressed.
TEST_F(PictureTest, RunLengthCodedBmpsReadAsTheSamePictureUncompressed) {
  for (const auto& [coded, plain] : {std::pair{"shades-rle8.bmp", "shades8.bmp"}, {"shades-rle4.bmp", "shades4.bmp"}}) {
    SCOPED_TRACE(coded);
    platform::PictureBitmap rle;
    platform::PictureBitmap whole;
    ASSERT_TRUE(platform::DecodePicture(PictureFileBytes(coded), rle));
    ASSERT_TRUE(platform::DecodePicture(PictureFileBytes(plain), whole));
    ASSERT_EQ(rle.width, whole.width);
    ASSERT_EQ(rle.height, whole.height);
    EXPECT_EQ(rle.bitsPerPixel, whole.bitsPerPixel);
    for (int row = 0; row < whole.height; ++row) {
      for (int x = 0; x < whole.width; ++x) {
        ASSERT_EQ(rle.PixelColor(x, row), whole.PixelColor(x, row)) << x << "," << row;
        ASSERT_EQ(CObjImage::IsDarkPixel(rle.bits.data(), x, row, rle.bitsPerPixel, rle.bytesPerRow),
                  CObjImage::IsDarkPixel(whole.bits.data(), x, row, whole.bitsPerPixel, whole.bytesPerRow))
            << x << "," << row;
      }
    }
  }
}

// Two black squares whose white the codes move past (deltas, line ends, an
// end of the picture above the top square): in every depth the pixels never
// coded are paper, white and light, however the palette is laid out, and
// the squares give their two dots at every conversion.
TEST_F(PictureTest, PixelsARunLengthCodedBmpNeverSetArePaper) {
  const auto inSquare = [](int x, int y) { return (5 <= x && x <= 12 && 5 <= y && y <= 12) || (26 <= x && x <= 33 && 10 <= y && y <= 17); };
  for (const auto& [name, depth] : {std::pair{"squares-rle8.bmp", 1}, {"squares-rle8-64.bmp", 8}, {"squares-rle4.bmp", 4}}) {
    SCOPED_TRACE(name);
    platform::PictureBitmap b;
    ASSERT_TRUE(platform::DecodePicture(PictureFileBytes(name), b));
    ASSERT_EQ(b.width, 40);
    ASSERT_EQ(b.height, 24);
    EXPECT_EQ(b.bitsPerPixel, depth);
    for (int y = 0; y < b.height; ++y) {
      for (int x = 0; x < b.width; ++x) {
        ASSERT_EQ(DarkAt(b, x, y), inSquare(x, y)) << x << "," << y;
        ASSERT_EQ(b.PixelColor(x, b.height - 1 - y), inSquare(x, y) ? 0xFF000000u : 0xFFFFFFFFu) << x << "," << y;
      }
    }
    auto element = PictureElement(PictureFileBytes(name));
    for (int pass = 0; pass < 3; ++pass) {
      CPointList dots;
      element->GetObjectAs<CObjImage>()->ConvertToDots(dots);
      EXPECT_EQ(dots.GetSize(), 2) << "pass " << pass;
    }
  }
}

// A file whose codes stop before their end-of-picture code is refused, as
// any BMP cut short is, and so is a header no run-length picture has.
TEST_F(PictureTest, RunLengthCodedBmpsCutShortOrMisnamedAreRefused) {
  const std::string good = PictureFileBytes("shades-rle8.bmp");
  const std::size_t dataAt = 14 + 40 + 4 * 256;
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"LinesBrokenOff", PictureFileBytes("cut-rle8.bmp")},
      {"LinesBrokenOff4", PictureFileBytes("cut-rle4.bmp")},
      {"WithoutItsEndCode", good.substr(0, good.size() - 2)},
      {"EndingInAnEscape", good.substr(0, good.size() - 1)},
      {"InsideAnAbsoluteRun", good.substr(0, good.find(std::string("\0\x25", 2), dataAt) + 8)},
      {"NoData", good.substr(0, dataAt)},
      {"PaletteCut", good.substr(0, dataAt - 10)},
      {"TopDown", [&good] {
         std::string b = good;
         b[25] = '\xFF';  // height negative
         return b;
       }()},
      {"Rle8OfFourBits", [&good] {
         std::string b = good;
         b[28] = 4;
         return b;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform::PictureBitmap out;
    EXPECT_FALSE(platform::DecodePicture(c.bytes, out));
    EXPECT_TRUE(out.IsEmpty());
  }
}

TEST_F(PictureTest, BlobsSkipTheBorderJoinNeighboursAndNeverMerge) {
  EXPECT_EQ(Blobs(Picture(3, 3, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}})).size(), 1u);
  EXPECT_EQ(Blobs(Picture(3, 3, {{0, 0}, {2, 2}, {0, 1}})).size(), 0u);  // only the centre is looked at
  EXPECT_EQ(Blobs(Picture(6, 2, {{1, 0}, {2, 1}, {3, 1}})).size(), 0u);  // two rows: all border
  EXPECT_EQ(Blobs(Picture(8, 3, {{2, 1}, {4, 1}})).size(), 2u);          // two columns apart
  EXPECT_EQ(Blobs(Picture(8, 3, {{2, 1}, {3, 1}})).size(), 1u);          // side by side
  EXPECT_EQ(Blobs(Picture(8, 4, {{2, 1}, {3, 2}})).size(), 1u);          // diagonal

  // A V: two arms start as two blobs; the pixel under both joins the later
  // one (the right arm), and the blobs stay two.
  const std::vector<CPixelRect> v = Blobs(Picture(7, 5, {{1, 3}, {3, 3}, {2, 2}}));
  ASSERT_EQ(v.size(), 2u);
  // Rows count from the bottom: picture line 3 of 5 is row 1, line 2 is row 2.
  EXPECT_TRUE(v[0].left == 1 && v[0].right == 1 && v[0].top == 1);
  EXPECT_TRUE(v[1].left == 2 && v[1].right == 3 && v[1].top == 2 && v[1].bottom == 1);

  // An empty blob has an all-zero rectangle.
  const CPixelRect empty = CPointArray().GetBoundRect();
  EXPECT_TRUE(empty.left == 0 && empty.top == 0 && empty.right == 0 && empty.bottom == 0);

  // Random pictures of every depth: the same blobs as the literal search.
  std::mt19937 random(7);
  for (int depth : {1, 4, 8, 24}) {
    for (int round = 0; round < 5; ++round) {
      platform::PictureBitmap b = platform::PictureBitmap::Make(37, 23, depth);
      for (auto& byte : b.bits) byte = static_cast<std::uint8_t>(random() % 256);
      EXPECT_TRUE(SameBlobs(CObjImage::FindDarkBlobs(b), ReferenceBlobs(b))) << depth << " " << round;
    }
  }
}

TEST_F(PictureTest, DotsAreScaledToTheDotSizeSnappedAndOrderedNearestFirst) {
  CObjImage image;
  ASSERT_TRUE(image.LoadFromBytes(Encode(Picture(10, 10, {{2, 2}, {7, 2}, {2, 7}}), "BMP")));
  image.SetField(50, MrkValue::OfDouble(static_cast<double>(25.4f)));  // 1 mm pixels
  image.SetField(51, MrkValue::OfDouble(static_cast<double>(25.4f)));
  image.SetPosition(CDoublePoint(0.5, -0.5));
  CPointList dots;
  image.ConvertToDots(dots);
  // The dot size was never set: it is the picture's 10 mm, so the 5 mm
  // spread of the blobs' pixel centres (3..8 and -8..-3) doubles about its
  // middle (5.5, -5.5), which is also the picture's.
  EXPECT_FLOAT_EQ(image.GetDotWidth(), 10.0f);
  ASSERT_EQ(dots.GetSize(), 3);
  EXPECT_NEAR(dots[0].x, 0.5, 1e-9);  // the lowest blob starts first
  EXPECT_NEAR(dots[0].y, -10.5, 1e-9);
  EXPECT_NEAR(dots[1].x, 0.5, 1e-9);  // nearest to the first
  EXPECT_NEAR(dots[1].y, -0.5, 1e-9);
  EXPECT_NEAR(dots[2].x, 10.5, 1e-9);
  EXPECT_NEAR(dots[2].y, -0.5, 1e-9);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(dots[i].flag, 0);

  // Dots spanning no more than 0.1 mm keep their own scale.
  CObjImage tiny;
  ASSERT_TRUE(tiny.LoadFromBytes(Encode(Picture(8, 3, {{2, 1}, {4, 1}}), "BMP")));
  tiny.SetField(50, MrkValue::OfDouble(2540.0));
  tiny.SetDotWidth(40);
  CPointList near;
  tiny.ConvertToDots(near);
  ASSERT_EQ(near.GetSize(), 1) << "both come to one grid point";

  // The page's values go through the resolution; "Translate points..."
  // makes a dot collection of the dots on the dot grid.
  const ImagePageValues page = image.GetPageValues();
  EXPECT_NEAR(page.widthMM, 10, 1e-9);
  image.SetPosition(CDoublePoint(2.5, page.y));
  image.SetWidthMM(20);
  image.SetDotWidth(5);
  EXPECT_NEAR(image.GetPictureRect().right, 22.5, 1e-9);
  EXPECT_NEAR(image.GetResolutionX(), static_cast<double>(25.4f) / 2, 1e-9);
  EXPECT_FLOAT_EQ(image.GetDotWidth(), 5);
  CPointList translated;
  ASSERT_TRUE(image.ConvertToDots(translated));
  const CObjDotCollect collect(translated);
  EXPECT_EQ(collect.GetDotCount(), 3);
  EXPECT_DOUBLE_EQ(collect.GetCellWidth(), 1.0);

  // Blobs that the dot size brings into one cell of the grid give one dot.
  CObjImage crowded;
  ASSERT_TRUE(crowded.LoadFromBytes(Encode(Picture(20, 3, {{2, 1}, {4, 1}, {17, 1}}), "BMP")));
  crowded.SetField(50, MrkValue::OfDouble(static_cast<double>(25.4f)));  // 1 mm pixels
  crowded.SetField(51, MrkValue::OfDouble(static_cast<double>(25.4f)));
  crowded.SetDotWidth(3);  // the 15 mm spread shrinks to 3 mm: 0.4 mm apart
  CPointList merged;
  crowded.ConvertToDots(merged);
  ASSERT_EQ(merged.GetSize(), 2);
  EXPECT_NEAR(std::fabs(merged[0].x - merged[1].x), 3.0, 1e-9);

  // A picture that did not decode gives no dots.
  CObjImage broken;
  broken.LoadFromBytes("garbage");
  CPointList none;
  broken.ConvertToDots(none);
  EXPECT_EQ(none.GetSize(), 0);
}

// A grid of lone dark pixels two apart, 1 mm each, on the 1 mm dot spacing:
// every pixel is a dot of its own. The conversion makes all kMaxPictureDots
// of them, and none of one more.
TEST_F(PictureTest, AConversionOfMoreDotsThanCanBeMarkedMakesNone) {
  constexpr int kColumns = 400;
  constexpr int kRows = kMaxPictureDots / kColumns;
  QImage image(2 * kColumns + 3, 2 * kRows + 1, QImage::Format_Mono);
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  image.fill(1);
  for (int j = 0; j < kRows; ++j)
    for (int i = 0; i < kColumns; ++i) image.setPixel(1 + 2 * i, 1 + 2 * j, 0);
  for (bool oneMore : {false, true}) {
    SCOPED_TRACE(oneMore ? "one more" : "at the limit");
    if (oneMore) image.setPixel(1 + 2 * kColumns, 1, 0);
    CObjImage picture;
    ASSERT_TRUE(picture.LoadFromBytes(Encode(image, "BMP")));
    picture.SetField(50, MrkValue::OfDouble(static_cast<double>(25.4f)));
    picture.SetField(51, MrkValue::OfDouble(static_cast<double>(25.4f)));
    CPointList dots;
    EXPECT_EQ(picture.ConvertToDots(dots), !oneMore);
    EXPECT_EQ(dots.GetSize(), oneMore ? 0 : kMaxPictureDots);
  }
}

// Four blobs placed symmetrically in a 10 x 10 mm picture centred on the
// origin (pixel centres at +-2.5 mm), a dot size of 6.8 x 4.6 mm: the pattern
// is +-3.4 by +-2.3 mm about the picture's centre, then put on the centres
// of the dot spacing's cells.
struct SpacingCase {
  float spacing;
  double x;  // the dots are at (+-x, +-y)
  double y;
};

void PrintTo(const SpacingCase& c, std::ostream* os) { *os << c.spacing << " mm"; }

class DotSpacingTest : public PictureTest, public ::testing::WithParamInterface<SpacingCase> {};

TEST_P(DotSpacingTest, DotsLieOnTheSpacingsGridCentredWhereThePictureIs) {
  const SpacingCase& c = GetParam();
  DistanceHor = DistanceVer = c.spacing;
  CObjImage image;
  ASSERT_TRUE(image.LoadFromBytes(Encode(Picture(10, 10, {{2, 2}, {7, 2}, {2, 7}, {7, 7}}), "PNG")));
  image.SetField(50, MrkValue::OfDouble(static_cast<double>(25.4f)));  // 1 mm pixels
  image.SetField(51, MrkValue::OfDouble(static_cast<double>(25.4f)));
  image.SetPosition(CDoublePoint(-5, 5));
  image.SetDotWidth(6.8f);
  image.SetDotHeight(4.6f);
  CPointList translated;
  ASSERT_TRUE(image.ConvertToDots(translated));
  const CObjDotCollect collect(translated);
  EXPECT_DOUBLE_EQ(collect.GetCellWidth(), c.spacing);
  EXPECT_DOUBLE_EQ(collect.GetCellHeight(), c.spacing);
  const CPointList& dots = collect.GetPathData().points;
  std::vector<std::pair<double, double>> got;
  for (int i = 0; i < dots.GetSize(); ++i) got.emplace_back(dots[i].x, dots[i].y);
  std::sort(got.begin(), got.end());
  const std::vector<std::pair<double, double>> expected = {{-c.x, -c.y}, {-c.x, c.y}, {c.x, -c.y}, {c.x, c.y}};
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].first, expected[i].first, 1e-9) << i;
    EXPECT_NEAR(got[i].second, expected[i].second, 1e-9) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Spacings, DotSpacingTest,
                         ::testing::Values(SpacingCase{0.25f, 3.375, 2.375}, SpacingCase{0.5f, 3.25, 2.25},
                                           SpacingCase{1.0f, 3.5, 2.5}),
                         [](const ::testing::TestParamInfo<SpacingCase>& info) {
                           return "Spacing" + std::to_string(static_cast<int>(info.param.spacing * 100)) + "hundredths";
                         });

TEST_F(PictureTest, SizesAndHandlesWorkThroughTheResolution) {
  CObjImage image;
  ASSERT_TRUE(image.LoadFromBytes(Encode(Picture(100, 50, {}), "PNG")));
  const double mm = static_cast<double>(25.4f);
  EXPECT_DOUBLE_EQ(image.GetWidthMM(), mm / 300 * 100);
  image.SetWidthMM(20);
  image.SetHeightMM(5);
  EXPECT_NEAR(image.GetWidthMM(), 20, 1e-9);
  EXPECT_NEAR(image.GetHeightMM(), 5, 1e-9);
  image.SetWidthMM(0);  // refused: the picture would vanish for good
  image.SetHeightMM(-3);
  EXPECT_NEAR(image.GetWidthMM(), 20, 1e-9);
  EXPECT_NEAR(image.GetHeightMM(), 5, 1e-9);

  // Right middle handle: only the horizontal resolution, the left edge stays.
  image.SetPosition(CDoublePoint(1, 2));
  CDoubleRect oldRect = image.GetPictureRect();
  CDoubleRect newRect = oldRect;
  newRect.right += 10;
  const double resY = image.GetResolutionY();
  image.Resize(oldRect, newRect, 3);
  EXPECT_NEAR(image.GetPictureRect().left, 1, 1e-9);
  EXPECT_NEAR(image.GetPictureRect().right, 31, 1e-9);
  EXPECT_EQ(image.GetResolutionY(), resY);
  EXPECT_EQ(oldRect.right, newRect.right);  // the old rectangle becomes the new one

  // Left-top corner: scaled about the right-bottom corner.
  oldRect = image.GetPictureRect();
  newRect = oldRect;
  newRect.left -= 30;
  newRect.top += 5;
  image.Resize(oldRect, newRect, 0);
  EXPECT_NEAR(image.GetPictureRect().left, -29, 1e-9);
  EXPECT_NEAR(image.GetPictureRect().top, 7, 1e-9);
  EXPECT_NEAR(image.GetPictureRect().right, 31, 1e-9);
  EXPECT_NEAR(image.GetPictureRect().bottom, -3, 1e-9);

  // Dragged flat, the picture only moves (by the centres' difference) and
  // keeps a size it can be stretched back from.
  oldRect = image.GetPictureRect();
  newRect = oldRect;
  newRect.right = newRect.left;
  image.Resize(oldRect, newRect, 3);
  EXPECT_NEAR(image.GetWidthMM(), 60, 1e-9);
  EXPECT_NEAR(image.GetPictureRect().left, -59, 1e-9);

  // The bounds are the picture itself (the selection frame adds its own
  // 2 mm, as around every object); moves shift the corner.
  auto e = PictureElement(Encode(Picture(100, 50, {}), "PNG"));
  const CDoubleRect picture = e->GetObjectAs<CObjImage>()->GetPictureRect();
  EXPECT_DOUBLE_EQ(e->boundRect.left, picture.left);
  EXPECT_DOUBLE_EQ(e->boundRect.bottom, picture.bottom);
  e->MoveBy(3, -4);
  EXPECT_DOUBLE_EQ(e->GetObjectAs<CObjImage>()->GetPosition().x, 3);
  EXPECT_DOUBLE_EQ(e->boundRect.top, picture.top - 4);
  e->Rotate(CDoublePoint(0, 0), 1.0);
  e->MirrorX(10);
  EXPECT_DOUBLE_EQ(e->GetObjectAs<CObjImage>()->GetPosition().x, 3);
}

TEST_F(PictureTest, ProjectFilesCarryThePictureBytesUnchanged) {
  // PNG bytes hold CR LF and control bytes: the reader must take them by count.
  const std::string png = Encode(Picture(12, 9, {{3, 3}, {4, 4}}), "PNG");
  CObjPtrArray objects;
  objects.Add(PictureElement(png));
  objects[0]->queryKey = 5;
  objects[0]->GetObjectAs<CObjImage>()->SetPosition(CDoublePoint(-3.25, 4.5));
  auto dots = std::make_unique<CObjElement>(CObjCreateRecord{"Dots-1", OBJ_DOTIMAGE, new CObjDotCollect, sizeof(CObjDotCollect), {}});
  objects.Add(std::move(dots));
  const std::string file = FormatMrkFile(objects, "/tmp/project.mrk");

  const std::string dataKey = "320;\xc4\xa3\xb0\xe5\xce\xc4\xbc\xfe\xca\xfd\xbe\xdd\r\n";  // 模板文件数据
  const std::string sizeKey = "160;\xce\xc4\xbc\xfe\xb4\xf3\xd0\xa1\r\n" + std::to_string(png.size()) + "\r\n";
  EXPECT_NE(file.find(sizeKey + dataKey + png + kMrkClassEnd + "\r\nCLASS_END\r\n"), std::string::npos);
  const std::string pictureBlock = file.substr(0, file.find(kMrkObjectEnd));
  EXPECT_EQ(pictureBlock.find("111;"), std::string::npos);  // pictures have no query key

  CObjPtrArray back;
  ASSERT_EQ(ReadMrkBytes(file, back), 1);
  ASSERT_EQ(back.GetSize(), 2);
  const auto* image = back[0]->GetObjectAs<CObjImage>();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->IsLoaded(), 1);
  EXPECT_EQ(image->GetLoader()->GetBytes(), png);
  EXPECT_DOUBLE_EQ(image->GetPosition().x, -3.25);
  EXPECT_DOUBLE_EQ(image->GetResolutionX(), 300);
  EXPECT_EQ(back[0]->queryKey, 0);
  EXPECT_DOUBLE_EQ(back[0]->boundRect.left, -3.25);
  EXPECT_NE(back[1]->GetObjectAs<CObjDotCollect>(), nullptr);  // the element after it is intact
  EXPECT_EQ(FormatMrkFile(back, {}), FormatMrkFile(objects, {}));

  // Bytes this build cannot decode are kept and saved again all the same.
  CObjPtrArray unknown;
  unknown.Add(PictureElement("PCX?\r\n\x01\x02 raw"));
  const std::string kept = FormatMrkFile(unknown, {});
  CObjPtrArray keptBack;
  ASSERT_EQ(ReadMrkBytes(kept, keptBack), 1);
  EXPECT_EQ(keptBack[0]->GetObjectAs<CObjImage>()->IsLoaded(), 0);
  EXPECT_EQ(FormatMrkFile(keptBack, {}), kept);

  // A file cut inside the picture: what is there is kept, nothing more.
  const std::string cut = file.substr(0, file.find(dataKey) + dataKey.size() + 20);
  CObjPtrArray partial;
  ASSERT_EQ(ReadMrkBytes(cut, partial), 1);
  EXPECT_EQ(partial.GetSize(), 0);

  // A picture of run-length rows that end at once: a kilobyte of file, far
  // more bytes of pixels. A project of many holds at most its picture budget
  // decoded (here a small one); the pictures past it keep their bytes, are
  // saved as read and are named.
  const int side = 600;
  const std::size_t budget = 1000000;
  std::string rle = "BM" + std::string(12, '\0');
  const auto put32 = [&rle](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) rle[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
  };
  rle += std::string(40, '\0');
  for (int i = 0; i < 256; ++i) rle += std::string(3, static_cast<char>(i)) + '\0';
  rle += std::string("\0\x01", 2);  // end of the picture
  put32(2, static_cast<std::uint32_t>(rle.size()));
  put32(10, 14 + 40 + 256 * 4);
  put32(14, 40);
  put32(18, side);
  put32(22, side);
  put32(26, 1 | 8 << 16);  // one plane, 8 bits
  put32(30, 1);           // run-length coded
  ASSERT_EQ(PictureElement(rle)->GetObjectAs<CObjImage>()->DecodedBytes(), std::size_t{side} * side);
  // Written with stand-in bytes of the same length, so nothing decodes here.
  const std::string standIn(rle.size(), 'x');
  CObjPtrArray many;
  for (int i = 0; i < 12; ++i) many.Add(PictureElement(standIn));
  std::string manyFile = FormatMrkFile(many, {});
  for (std::size_t at = manyFile.find(standIn); at != std::string::npos; at = manyFile.find(standIn, at))
    manyFile.replace(at, standIn.size(), rle);
  CObjPtrArray manyBack;
  std::vector<std::string> blank;
  ASSERT_EQ(ReadMrkBytes(manyFile, manyBack, &blank, budget), 1);
  ASSERT_EQ(manyBack.GetSize(), 12);
  const std::size_t decodedFit = budget / (std::size_t{side} * side);
  std::size_t decoded = 0;
  for (const CObjElement* e : manyBack) decoded += e->GetObjectAs<CObjImage>()->IsLoaded();
  EXPECT_EQ(decoded, decodedFit);
  EXPECT_EQ(blank.size(), 12 - decodedFit);
  EXPECT_EQ(FormatMrkFile(manyBack, {}), manyFile);

  // A damaged resolution does not make the picture endless.
  CObjImage damaged;
  damaged.SetField(50, MrkValue::OfDouble(0));
  damaged.SetField(51, MrkValue::OfDouble(-2));
  EXPECT_EQ(damaged.GetResolutionX(), 300);
  EXPECT_EQ(damaged.GetResolutionY(), 300);
}

TEST_F(PictureTest, CopiesGoThroughThePictureFileAndNeverComeOutEmpty) {
  const std::string bmp = Encode(Picture(20, 10, {{5, 5}}), "BMP");
  auto source = PictureElement(bmp);
  auto* src = source->GetObjectAs<CObjImage>();
  src->SetPosition(CDoublePoint(7, 8));
  src->SetWidthMM(40);
  src->SetDotWidth(12);

  CObjElement copy;
  copy.CopyFrom(*source);
  const auto* dst = copy.GetObjectAs<CObjImage>();
  ASSERT_NE(dst, nullptr);
  EXPECT_EQ(dst->IsLoaded(), 1);
  EXPECT_EQ(dst->GetLoader()->GetWidthPx(), 20);
  EXPECT_NEAR(dst->GetPictureRect().right, 47, 1e-9);
  EXPECT_FLOAT_EQ(dst->GetDotWidth(), 12);
  EXPECT_DOUBLE_EQ(copy.boundRect.left, 7);
  std::ifstream temp(platform::JoinInstallPath(InstallFolder, "IPicture.bmp"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(temp), {}), bmp);

  InstallFolder = "/nonexistent-vendrik-folder/sub";
  CObjElement second;
  second.CopyFrom(*source);
  ASSERT_NE(second.GetObjectAs<CObjImage>(), nullptr);
  EXPECT_EQ(second.GetObjectAs<CObjImage>()->GetLoader()->GetBytes(), bmp);
  EXPECT_EQ(second.GetObjectAs<CObjImage>()->IsLoaded(), 1);
}

TEST_F(PictureTest, PicturesLoadCentredAndDrawIntoTheirDeviceRectangle) {
  const std::string path = platform::JoinInstallPath(InstallFolder, "picture-test.bmp");
  {
    std::ofstream out(path, std::ios::binary);
    out << Encode(Picture(30, 20, {}), "BMP");
  }
  CObjImage image(path);
  ASSERT_EQ(image.IsLoaded(), 1);
  const CDoubleRect r = image.GetPictureRect();
  EXPECT_NEAR(r.left, -r.right, 1e-12);
  EXPECT_NEAR(r.top, -r.bottom, 1e-12);
  EXPECT_NEAR(r.right - r.left, static_cast<double>(25.4f) / 300 * 30, 1e-12);

  CObjImage missing(path + ".none");
  EXPECT_EQ(missing.IsLoaded(), 0);
  EXPECT_EQ(missing.GetPictureRect().Width(), 0);

  const double savedX = PixelsPerMmX;
  const double savedY = PixelsPerMmY;
  PixelsPerMmX = 4;
  PixelsPerMmY = 5;
  image.SetPosition(CDoublePoint(1, 2));
  image.SetWidthMM(10);
  image.SetHeightMM(6);
  platform::RecordingDeviceContext dc;
  image.Draw(dc, 100, 200, 2.0);
  ASSERT_EQ(dc.Ops().size(), 1u);
  EXPECT_EQ(dc.Ops()[0].kind, platform::DcOp::DrawBitmap);
  EXPECT_EQ(dc.Ops()[0].args, (std::vector<int>{108, 180, 80, 60, 30, 20}));
  missing.Draw(dc, 0, 0, 1.0);
  EXPECT_EQ(dc.Ops().size(), 1u);

  // On screen the picture stands upright: its top-left ink stays top-left.
  CObjImage marked;
  ASSERT_TRUE(marked.LoadFromBytes(Encode(Picture(4, 4, {{0, 0}}), "BMP")));
  marked.SetPosition(CDoublePoint(0, 0));
  marked.SetWidthMM(4);
  marked.SetHeightMM(4);
  PixelsPerMmX = PixelsPerMmY = 2;
  QImage screen(8, 8, QImage::Format_RGB32);
  screen.fill(Qt::white);
  {
    QPainter painter(&screen);
    platform_qt::QPainterDeviceContext qdc(painter, &screen);
    marked.Draw(qdc, 0, 0, 1.0);
  }
  EXPECT_EQ(qGray(screen.pixel(0, 0)), 0);
  EXPECT_EQ(qGray(screen.pixel(1, 1)), 0);
  EXPECT_EQ(qGray(screen.pixel(0, 7)), 255);
  EXPECT_EQ(qGray(screen.pixel(7, 0)), 255);
  PixelsPerMmX = savedX;
  PixelsPerMmY = savedY;
}

}  // namespace
