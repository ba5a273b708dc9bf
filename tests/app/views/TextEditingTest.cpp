// The layout view's handlers of the text page and the font page: the text
// keeps its fixed position, moves only with its left-top corner, and takes
// the font pair, switches and heights the pages send.
#include <cmath>

#include "app/views/model/CVendrikViewModel.h"
#include "properties/framework/LogFontRecord.h"
#include "properties/framework/PropChange.h"
#include "properties/pages/CUpdateAutoTextPage.h"
#include "properties/pages/CUpdateTextTimePage.h"
#include "tests/app/views/ViewModelFixture.h"
#include "tests/text/layout/TextTestSupport.h"
#include "values/PropertyMessages.h"

namespace {

class TextEditingTest : public ViewModelTest {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    MakeRig(TextRigKind::Plain);
  }
  void MakeRig(TextRigKind kind) {
    rig_ = std::make_unique<TextRig>(kind);
    rig_->Layout("LIL");
    // In the layout, after its first element: changes to objects the layout
    // no longer holds are dropped.
    AddLine({0, 0}, {1, 1}, 0);
    document_.Objects().Add(&rig_->Element());
  }
  void TearDown() override {
    document_.Objects().RemoveAt(1).release();  // the rig's own
    rig_.reset();
    ViewModelTest::TearDown();
  }
  void Send(UINT msg, int id, PropValue value) {
    auto record = std::make_shared<PROPCHANGE>();
    record->id = id;
    record->value = std::move(value);
    record->object = &rig_->Element();
    ASSERT_TRUE(model_->OnMessage(platform::Message{msg, reinterpret_cast<WPARAM>(record.get()), 0, record}));
  }
  CDoubleRect Bounds() const { return rig_->Element().boundRect; }
  static CDoublePoint Centre(const CDoubleRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  std::unique_ptr<TextRig> rig_;
};

}  // namespace

TEST_F(TextEditingTest, CentredTextKeepsItsCentreWhenItsHeightChanges) {
  rig_->S().fixedCorner = 8;
  const CDoubleRect before = Bounds();
  Send(WM_UPDATE_FONT, 1014, 56.0f);
  const CDoubleRect after = Bounds();
  EXPECT_NEAR(after.Height(), 2 * before.Height(), 1e-6);
  EXPECT_NEAR(Centre(after).x, Centre(before).x, 1e-6);
  EXPECT_NEAR(Centre(after).y, Centre(before).y, 1e-6);
  EXPECT_DOUBLE_EQ(rig_->S().heightRatio, 2.0);
  EXPECT_EQ(document_.GetSavedState(), 1);  // what File New and Open ask by
  EXPECT_GT(window_.invalidates, 0);
}

TEST_F(TextEditingTest, LeftTopChangeMovesTheTextToTheNewCorner) {
  rig_->S().fixedCorner = 8;
  const CDoubleRect before = Bounds();
  Send(WM_UPDATE_TEXT, 1015, 30.0);
  EXPECT_NEAR(Bounds().left, 30, 1e-6);
  EXPECT_NEAR(Bounds().Width(), before.Width(), 1e-6);
  EXPECT_NEAR(Bounds().top, before.top, 1e-6);
}

TEST_F(TextEditingTest, NewStringIsLaidOutAtTheFixedPosition) {
  rig_->S().fixedCorner = 6;  // left bottom
  const CDoubleRect before = Bounds();
  Send(WM_UPDATE_TEXT, 1014, std::string("LLLL"));
  EXPECT_EQ(rig_->Text().GetText(), "LLLL");
  EXPECT_NEAR(Bounds().left, before.left, 1e-6);
  EXPECT_NEAR(Bounds().bottom, before.bottom, 1e-6);
  EXPECT_GT(Bounds().Width(), before.Width());
}

TEST_F(TextEditingTest, FixPositionOutsideTheNineIsIgnored) {
  Send(WM_UPDATE_TEXT, 1076, 4);
  EXPECT_EQ(rig_->S().fixedCorner, 4);
  Send(WM_UPDATE_TEXT, 1076, 9);
  Send(WM_UPDATE_TEXT, 1076, -1);
  EXPECT_EQ(rig_->S().fixedCorner, 4);
}

TEST_F(TextEditingTest, HeightOverANominalHeightOfZeroStaysFinite) {
  rig_->S().charHeight = 0;
  Send(WM_UPDATE_FONT, 1014, 14.0f);
  EXPECT_TRUE(std::isfinite(rig_->S().heightRatio));
  EXPECT_FLOAT_EQ(static_cast<float>(rig_->S().charHeight * rig_->S().heightRatio), 14.0f);
  EXPECT_TRUE(std::isfinite(Bounds().Height()));
}

TEST_F(TextEditingTest, SwitchesAndTheTrueTypeRecordReachTheText) {
  Send(WM_UPDATE_FONT, 1111, 1);
  EXPECT_TRUE(rig_->S().flags & TEXT_TRUETYPE);
  Send(WM_UPDATE_FONT, 1180, 1);
  EXPECT_TRUE(rig_->S().flags & TEXT_DOT_FONT);
  EXPECT_FALSE(rig_->S().flags & TEXT_TRUETYPE);
  TextLogFont font;
  font.faceName = "DejaVu Sans";
  font.height = -24;
  font.weight = 700;
  Send(WM_UPDATE_FONT, 1113, EncodeLogFont(font));
  EXPECT_EQ(rig_->S().font.faceName, "DejaVu Sans");
  EXPECT_EQ(rig_->S().font.height, -24);
  EXPECT_EQ(rig_->S().font.weight, 700);
  // Typed values of either width arrive as the field's own.
  Send(WM_UPDATE_FONT, 1016, 30.0);
  EXPECT_FLOAT_EQ(rig_->S().rotation, 30.0f);
}

struct PairCase {
  const char* pair;
  int id;
  const char* file;
  const char* expected;
};
class FontPairTest : public TextEditingTest, public ::testing::WithParamInterface<PairCase> {};

TEST_P(FontPairTest, ChosenFileReplacesItsHalfOfThePair) {
  rig_->S().strokeFontPair = GetParam().pair;
  Send(WM_UPDATE_FONT, GetParam().id, std::string(GetParam().file));
  EXPECT_EQ(rig_->S().strokeFontPair, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Pairs, FontPairTest,
                         ::testing::Values(PairCase{"txt+chineset", 1072, "GBENOR.SHX", "gbenor+chineset"},
                                           PairCase{"txt+chineset", 1072, "simplex.fnt", "simplex+chineset"},
                                           PairCase{"mm+hztxt", 1073, "Chineset.shx", "mm+chineset"},
                                           PairCase{"mm", 1073, "hztxt.shx", "mm+hztxt"},
                                           PairCase{"mm+big", 1072, ".shx", ".shx+big"}));

// The VIN page sends its rotation as a double and its second-line offsets as
// floats; the view takes each at its field's width.
TEST_F(TextEditingTest, VinPlacementRowsTakeTypedValuesOfEitherWidth) {
  rig_->Element().type = OBJ_VIN;
  Send(WM_UPDATE_OBJVIN, 1111, 12.5);
  EXPECT_FLOAT_EQ(rig_->S().deflection, 12.5f);
  Send(WM_UPDATE_OBJVIN, 1184, 1.5f);
  Send(WM_UPDATE_OBJVIN, 1185, -2.25f);
  EXPECT_FLOAT_EQ(rig_->S().offsetX2, 1.5f);
  EXPECT_FLOAT_EQ(rig_->S().offsetY2, -2.25f);
  Send(WM_UPDATE_OBJVIN, 1183, 1);
  EXPECT_TRUE(rig_->S().flags & TEXT_TWO_LINES);
}

struct CornerCase {
  const char* name;
  TextRigKind kind;
  UINT msg;
  int xId;
  int yId;
};

// The serial number's and the date's pages move their own objects, laid out
// anew from the corner typed.
class SerialAndDateCornerTest : public TextEditingTest, public ::testing::WithParamInterface<CornerCase> {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    MakeRig(GetParam().kind);
  }
  void Send(int id, double value) { TextEditingTest::Send(GetParam().msg, id, value); }
};

TEST_P(SerialAndDateCornerTest, MovesToItsNewLeftTopCorner) {
  const CDoubleRect before = Bounds();
  ASSERT_GT(before.Width(), 1) << "the object's own text is drawn";
  Send(GetParam().xId, before.left + 7);
  EXPECT_NEAR(Bounds().left, before.left + 7, 1e-6);
  EXPECT_NEAR(Bounds().Width(), before.Width(), 1e-6);
  EXPECT_NEAR(Bounds().top, before.top, 1e-6);
  // The corner's y is the top of the character cell, above the strokes.
  const double cellTop = rig_->S().position.y;
  Send(GetParam().yId, cellTop + 5);
  EXPECT_NEAR(rig_->S().position.y, cellTop + 5, 1e-6);
  EXPECT_NEAR(Bounds().top, before.top + 5, 1e-6);
  EXPECT_NEAR(Bounds().left, before.left + 7, 1e-6);
  EXPECT_NEAR(Bounds().Height(), before.Height(), 1e-6);
  EXPECT_EQ(rig_->Text().GetText(), "LIL") << "the text itself stays";
  EXPECT_EQ(document_.GetSavedState(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, SerialAndDateCornerTest,
    ::testing::Values(CornerCase{"Serial", TextRigKind::Serial, WM_UPDATE_AUTOTEXT, CUpdateAutoTextPage::kX,
                                 CUpdateAutoTextPage::kY},
                      CornerCase{"Date", TextRigKind::Date, WM_UPDATE_TEXTTIME, CUpdateTextTimePage::kX,
                                 CUpdateTextTimePage::kY}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct UnlistedCase {
  const char* name;
  TextRigKind kind;
  UINT msg;
};

class UnlistedTextIdTest : public TextEditingTest, public ::testing::WithParamInterface<UnlistedCase> {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    MakeRig(GetParam().kind);
  }
};

}  // namespace

// No page of these objects sends 1099: it writes nothing, and the object is
// still rebuilt, redrawn and counted as changed, as for a listed id.
TEST_P(UnlistedTextIdTest, WritesNothingButRebuildsAndMarksTheLayoutChanged) {
  const CDoubleRect before = Bounds();
  const int invalidates = window_.invalidates;
  Send(GetParam().msg, 1099, 1);
  EXPECT_EQ(rig_->Text().GetText(), "LIL");
  EXPECT_NEAR(Bounds().left, before.left, 1e-9);
  EXPECT_NEAR(Bounds().Width(), before.Width(), 1e-9);
  EXPECT_NEAR(Bounds().Height(), before.Height(), 1e-9);
  EXPECT_GT(window_.invalidates, invalidates);
  EXPECT_EQ(document_.GetSavedState(), 1);
}

INSTANTIATE_TEST_SUITE_P(Objects, UnlistedTextIdTest,
                         ::testing::Values(UnlistedCase{"Text", TextRigKind::Plain, WM_UPDATE_TEXT},
                                           UnlistedCase{"Serial", TextRigKind::Serial, WM_UPDATE_AUTOTEXT},
                                           UnlistedCase{"Date", TextRigKind::Date, WM_UPDATE_TEXTTIME}),
                         [](const auto& info) { return std::string(info.param.name); });
