// The two-dimensional code object: its dots read back through independent
// decoders as the full serial text, for every QR level and a spread of
// versions and DataMatrix sizes; dot order, angle, advancing after marks,
// copying, refused contents and the human-readable text's place.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "document/objects/CObjElement.h"
#include "document/path/PathListHelpers.h"
#include "tests/text/objects/CodeReaders.h"
#include "text/codes/CQrEncoder.h"
#include "text/objects/CObjBarCode.h"

namespace {

const char kPrefix[] = "VND-";
const char kSerial[] = "000123";
const char kSuffix[] = "-X";
const std::string kFull = std::string(kPrefix) + kSerial + kSuffix;

// A code at (10, 20), module 0.5 mm, built as the view builds it.
std::unique_ptr<CObjBarCode> MakeCode(int type) {
  auto code = std::make_unique<CObjBarCode>(CDoublePoint(10, 20), kPrefix, kSerial, kSuffix);
  code->Code().codeType = type;
  return code;
}

void Build(CObjBarCode& code) { code.Rebuild(CDoublePoint(10, 20), 0, 1, 0); }

const CPointList& Dots(const CObjBarCode& code) { return code.GetPathData().second; }

class QrLevelsAndVersions : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(QrLevelsAndVersions, DotsDecodeToTheFullText) {
  const auto [level, version] = GetParam();
  auto code = MakeCode(BARCODE_QR);
  code->Code().qrLevel = level;
  code->Code().qrVersion = version;
  Build(*code);
  ASSERT_TRUE(code->GetEncodeError().empty());
  const int size = DotColumns(Dots(*code), 0.5);
  // Version 0 takes the smallest that holds the text: 11 codewords fit
  // version 1 except at level H.
  const int smallest = level == 3 ? 2 : 1;
  EXPECT_EQ(size, 17 + 4 * (version == 0 ? smallest : version));
  EXPECT_EQ(DotRows(Dots(*code), 0.5), size);
  EXPECT_EQ(ReadQrDots(Dots(*code), 0.5), kFull);
}

INSTANTIATE_TEST_SUITE_P(Spread, QrLevelsAndVersions,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3), ::testing::Values(0, 2, 7, 15, 27, 40)));

TEST(BarCode, AQrVersionTooSmallIsExtended) {
  auto code = MakeCode(BARCODE_QR);
  code->Code().qrLevel = 3;
  code->Code().qrVersion = 1;
  code->Serial().prefix = std::string(60, 'A');
  Build(*code);
  ASSERT_TRUE(code->GetEncodeError().empty());
  EXPECT_GT(DotColumns(Dots(*code), 0.5), 21);
  EXPECT_EQ(ReadQrDots(Dots(*code), 0.5), std::string(60, 'A') + kSerial + kSuffix);
}

TEST(BarCode, AForcedMaskIsUsedAndStillDecodes) {
  for (int mask = 1; mask <= 8; ++mask) {
    SCOPED_TRACE(mask);
    auto code = MakeCode(BARCODE_QR);
    code->Code().qrMask = mask;
    Build(*code);
    CQrEncoder qr;
    ASSERT_EQ(qr.Encode(1, 0, 1, mask - 1, kFull.c_str(), static_cast<int>(kFull.size())), 1);
    CPointList expected;
    qr.EmitDots(CDoublePoint(10, 20), &expected, 0.5f);
    EXPECT_EQ(Dots(*code).GetSize(), expected.GetSize());
    EXPECT_EQ(ReadQrDots(Dots(*code), 0.5), kFull);
  }
}

class DataMatrixSizes : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(DataMatrixSizes, DotsDecodeToTheFullText) {
  const auto [sizeIndex, rows, columns] = GetParam();
  auto code = MakeCode(BARCODE_DATAMATRIX);
  code->Code().dmSize = sizeIndex;
  Build(*code);
  ASSERT_TRUE(code->GetEncodeError().empty());
  EXPECT_EQ(DotRows(Dots(*code), 0.5), rows);
  EXPECT_EQ(DotColumns(Dots(*code), 0.5), columns);
  EXPECT_EQ(ReadDataMatrixDots(Dots(*code), 0.5), kFull);
}

INSTANTIATE_TEST_SUITE_P(Spread, DataMatrixSizes,
                         ::testing::Values(std::make_tuple(1, 16, 16), std::make_tuple(6, 16, 16),
                                           std::make_tuple(8, 20, 20), std::make_tuple(12, 32, 32),
                                           std::make_tuple(17, 52, 52), std::make_tuple(26, 144, 144),
                                           std::make_tuple(29, 12, 26), std::make_tuple(31, 16, 36),
                                           std::make_tuple(32, 16, 48)));

TEST(BarCode, EveryDotOrderKeepsTheDotsAndTheCode) {
  auto code = MakeCode(BARCODE_QR);
  Build(*code);
  const int count = Dots(*code).GetSize();
  for (int order : {1, 2, 3, 0}) {
    SCOPED_TRACE(order);
    code->Code().dotOrder = order;
    Build(*code);
    EXPECT_EQ(Dots(*code).GetSize(), count);
    EXPECT_EQ(ReadQrDots(Dots(*code), 0.5), kFull);
  }
  // Columns: x never goes back within the order.
  code->Code().dotOrder = 1;
  Build(*code);
  for (int i = 1; i < count; ++i) EXPECT_GE(Dots(*code)[i].x, Dots(*code)[i - 1].x - 0.25);
}

TEST(BarCode, TheAngleTurnsTheDotsAboutTheirCentre) {
  auto code = MakeCode(BARCODE_DATAMATRIX);
  Build(*code);
  const CDoubleRect before = GetPointArrayBoundRect(Dots(*code));
  code->Code().angle = 90;
  Build(*code);
  const CDoubleRect after = GetPointArrayBoundRect(Dots(*code));
  EXPECT_NEAR((after.left + after.right) / 2, (before.left + before.right) / 2, 1e-3);
  EXPECT_NEAR((after.top + after.bottom) / 2, (before.top + before.bottom) / 2, 1e-3);
  EXPECT_NEAR(after.Width(), before.Height(), 1e-3);
}

TEST(BarCode, TurningTheObjectTurnsTheDotsAndKeepsTheAngle) {
  auto code = MakeCode(BARCODE_QR);
  CObjElement owner;  // the groups are made for an element
  code->GetPathData().SetOwner(&owner);
  Build(*code);
  code->RecalcPath();
  const CDoubleRect before = GetPointArrayBoundRect(Dots(*code));
  code->Rotate(1.5707963);
  const CDoubleRect after = GetPointArrayBoundRect(Dots(*code));
  EXPECT_NEAR(code->Code().angle, 90, 1e-3);
  EXPECT_NEAR((after.left + after.right) / 2, (before.left + before.right) / 2, 1e-6);
  EXPECT_NEAR((after.top + after.bottom) / 2, (before.top + before.bottom) / 2, 1e-6);
  EXPECT_EQ(ReadQrDots(Dots(*code), 0.5), kFull);
  // A rebuild keeps the turn.
  Build(*code);
  EXPECT_EQ(ReadQrDots(Dots(*code), 0.5), kFull);
  EXPECT_NEAR(GetPointArrayBoundRect(Dots(*code)).left, after.left, 1e-3);
}

TEST(BarCode, AdvancesOnEveryMarksPerNumberthCallAndTheCodeFollows) {
  auto code = MakeCode(BARCODE_QR);
  code->Serial().marksPerNumber = 2;
  code->Serial().upper = "000100";  // bounds do not apply to codes
  code->Serial().lower = "000001";
  code->Serial().serial = "000999";
  Build(*code);
  EXPECT_EQ(code->AdvanceAfterMark(CDoublePoint(10, 20)), 0);
  EXPECT_EQ(code->AdvanceAfterMark(CDoublePoint(10, 20)), 1);
  EXPECT_EQ(code->GetSerial(), "001000");
  EXPECT_EQ(ReadQrDots(Dots(*code), 0.5), std::string(kPrefix) + "001000" + kSuffix);
  auto empty = MakeCode(BARCODE_QR);
  empty->Serial().serial.clear();
  Build(*empty);
  EXPECT_EQ(empty->AdvanceAfterMark({}), 0);
}

TEST(BarCode, TheFixedInputTextIsTheContentInInputMode) {
  auto code = MakeCode(BARCODE_DATAMATRIX);
  code->Code().inputMode = 1;
  Build(*code);  // empty: takes the composed text
  EXPECT_EQ(code->Code().fixedText, kFull);
  code->SetCodeText(CDoublePoint(10, 20), "FIXED 42", 0, 0);
  EXPECT_EQ(ReadDataMatrixDots(Dots(*code), 0.5), "FIXED 42");
  // The serial text changing does not touch a fixed code.
  code->Serial().serial = "999";
  Build(*code);
  EXPECT_EQ(ReadDataMatrixDots(Dots(*code), 0.5), "FIXED 42");
}

struct Refused {
  int type;
  int dmSize;
  const char* serial;
};

class RefusedContents : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedContents, LeaveNoDotsAndSayWhy) {
  auto code = MakeCode(GetParam().type);
  code->Code().dmSize = GetParam().dmSize;
  code->Serial().prefix.clear();
  code->Serial().suffix.clear();
  code->Serial().serial = GetParam().serial;
  EXPECT_FALSE(code->Rebuild(CDoublePoint(10, 20), 0, 0, 0));
  EXPECT_EQ(code->GetDotCount(), 0);
  EXPECT_EQ(code->GetEncodeError(), kBarCodeEncodeError);
  // Mended contents build again and clear the reason.
  code->Code().codeType = BARCODE_QR;
  code->Serial().serial = "1";
  EXPECT_TRUE(code->Rebuild(CDoublePoint(10, 20), 0, 0, 0));
  EXPECT_TRUE(code->GetEncodeError().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedContents,
                         ::testing::Values(Refused{BARCODE_QR, 6, ""}, Refused{BARCODE_DATAMATRIX, 6, ""},
                                           Refused{BARCODE_DATAMATRIX, 3, "0123456789ABCDEFGHIJ"},
                                           Refused{BARCODE_DATAMATRIX, 99, "1"}, Refused{2, 6, "1"}));

TEST(BarCode, ACopyKeepsEverySetting) {
  auto a = MakeCode(BARCODE_QR);
  BarCodeSettings& s = a->Code();
  s.angle = 30;
  s.dmScheme = 3;
  s.dmSize = 12;
  s.textDirection = 1;
  s.qrVersion = 5;
  s.qrLevel = 3;
  s.qrMask = 4;
  s.showText = 1;
  s.dotOrder = 3;
  s.inputMode = 1;
  s.fixedText = "F";
  s.textPosition = CDoublePoint(1, 2, 0);
  a->SetModuleSize(0.25f);
  CObjBarCode b;
  b.CopyFrom(*a);
  const BarCodeSettings& c = b.Code();
  EXPECT_FLOAT_EQ(c.moduleSize, 0.25f);
  EXPECT_FLOAT_EQ(c.dotSizeX, 0.5f);
  EXPECT_EQ(c.codeType, BARCODE_QR);
  EXPECT_FLOAT_EQ(c.angle, 30);
  EXPECT_EQ(c.dmScheme, 3);
  EXPECT_EQ(c.dmSize, 12);
  EXPECT_EQ(c.textDirection, 1);
  EXPECT_EQ(c.qrVersion, 5);
  EXPECT_EQ(c.qrLevel, 3);
  EXPECT_EQ(c.qrMask, 4);
  EXPECT_EQ(c.showText, 1);
  EXPECT_EQ(c.dotOrder, 3);
  EXPECT_EQ(c.inputMode, 1);
  EXPECT_EQ(c.fixedText, "F");
  EXPECT_DOUBLE_EQ(c.textPosition.y, 2);
  EXPECT_EQ(b.GetSerial(), kSerial);
}

TEST(BarCode, TheTextStandsBelowOrRightOfTheCode) {
  auto code = MakeCode(BARCODE_DATAMATRIX);
  Build(*code);
  const CDoubleRect b = code->GetPathData().GetBoundRect();
  const double h = code->Settings().charHeight;
  EXPECT_DOUBLE_EQ(code->Code().textPosition.x, b.left);
  EXPECT_DOUBLE_EQ(code->Code().textPosition.y, b.bottom - h);
  EXPECT_FLOAT_EQ(code->Settings().rotation, 0);
  code->Code().textDirection = 1;
  code->UpdateTextPosition();
  EXPECT_DOUBLE_EQ(code->Code().textPosition.x, b.right + h);
  EXPECT_DOUBLE_EQ(code->Code().textPosition.y, b.bottom);
  EXPECT_FLOAT_EQ(code->Settings().rotation, 90);
}

}  // namespace
