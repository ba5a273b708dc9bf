// The text page and the font page worked through their controls: what each
// typed value, spin step, switch and list choice reports to the layout view.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <fstream>

#include "platform/FontDialog.h"
#include "properties/framework/LogFontRecord.h"
#include "properties/link/CProperityView.h"
#include "properties/pages/FontFileLists.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/properties/PaneFixture.h"
#include "tests/text/layout/TextTestSupport.h"
#include "values/PropertyMessages.h"
#include "widgets/CSpinButton.h"

namespace {

class TextPagesTest : public PaneTest {
 protected:
  void SetUp() override {
    PaneTest::SetUp();
    fonts_ = std::make_shared<platform::ScriptedFontDialog>();
    platform::SetFontDialog(fonts_);
    rig_ = std::make_unique<TextRig>();
    rig_->Layout("LIL");
    view_->AddObject(&rig_->Element(), 0);
    Pump();
  }
  void TearDown() override {
    PaneTest::TearDown();
    rig_.reset();
  }
  QLineEdit* Edit(int id) { return Control<QLineEdit>(QString("edit%1").arg(id).toLatin1().constData()); }
  // The up (delta -1) or down arrow of a spin.
  void Spin(int id, bool up) {
    auto* spin = Control<CSpinButton>(QString("spin%1").arg(id).toLatin1().constData());
    ASSERT_NE(spin, nullptr) << id;
    auto buttons = spin->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QTest::mouseClick(up ? buttons[0] : buttons[1], Qt::LeftButton);
    Pump();
  }
  std::vector<Received> Changes() { return layout_.Changes(); }

  std::shared_ptr<platform::ScriptedFontDialog> fonts_;
  std::unique_ptr<TextRig> rig_;
};

void ClickBox(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
  Pump();
}

}  // namespace

TEST_F(TextPagesTest, TextTypesShowTheirTextAndFontPages) {
  EXPECT_EQ(Tabs(), (std::vector<std::string>{"Name", "Mark properity", "Text", "Font", "Fill object"}));
}

TEST_F(TextPagesTest, NewTextIsReportedOnceAndTheSameTextNotAtAll) {
  Open("Text");
  EXPECT_EQ(Edit(1014)->text(), "LIL");
  layout_.received.clear();
  TypeAndEnter(Edit(1014), "LL");
  TypeAndEnter(Edit(1014), "LL");
  const auto changes = Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].msg, WM_UPDATE_TEXT);
  EXPECT_EQ(changes[0].id, 1014);
  EXPECT_EQ(PropToText(changes[0].value), "LL");
  EXPECT_EQ(changes[0].object, &rig_->Element());
}

struct LabelCase {
  const char* radius;
  const char* x;
  const char* y;
};
class AnchorLabelTest : public TextPagesTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(AnchorLabelTest, RadiusFromATenthOfAMillimetreNamesTheCentre) {
  Open("Text");
  TypeAndEnter(Edit(1017), GetParam().radius);
  EXPECT_EQ(Control<QLabel>("label1174")->text(), GetParam().x);
  EXPECT_EQ(Control<QLabel>("label1175")->text(), GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(Radii, AnchorLabelTest,
                         ::testing::Values(LabelCase{"0.05", "Left top(x):", "Left top(y):"},
                                           LabelCase{"0.1", "Center(x):", "Center(y):"},
                                           LabelCase{"-3", "Center(x):", "Center(y):"}));

struct SpinCase {
  const char* page;
  int edit;
  int spin;
  const char* start;
  bool up;
  const char* shown;
  bool reported;
};
class PageSpinTest : public TextPagesTest, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(PageSpinTest, StepsStopAtTheirBounds) {
  const SpinCase& c = GetParam();
  Open(c.page);
  TypeAndEnter(Edit(c.edit), c.start);
  layout_.received.clear();
  Spin(c.spin, c.up);
  EXPECT_EQ(Edit(c.edit)->text(), c.shown);
  const auto changes = Changes();
  ASSERT_EQ(changes.size(), c.reported ? 1u : 0u);
  if (c.reported) { EXPECT_EQ(changes[0].id, c.edit); }
}

INSTANTIATE_TEST_SUITE_P(
    Spins, PageSpinTest,
    ::testing::Values(SpinCase{"Text", 1019, 1062, "358", true, "360", true},
                      SpinCase{"Text", 1019, 1062, "360", true, "360", false},
                      SpinCase{"Text", 1019, 1062, "3", false, "3", false},
                      SpinCase{"Text", 1017, 1060, "3", false, "1", true},
                      SpinCase{"Text", 1017, 1060, "1", false, "0", true},
                      SpinCase{"Text", 1018, 1061, "3", false, "0", true},
                      SpinCase{"Text", 1015, 1073, "10", true, "15", true},
                      SpinCase{"Font", 1014, 1066, "0.6", false, "0.2", true},
                      SpinCase{"Font", 1014, 1066, "2", true, "2.5", true},
                      SpinCase{"Font", 1016, 1068, "350", true, "5", true},
                      SpinCase{"Font", 1016, 1068, "-350", false, "-5", true},
                      SpinCase{"Font", 1015, 1067, "0", false, "-15", true},
                      SpinCase{"Font", 1019, 1071, "0", true, "1", true}));

TEST_F(TextPagesTest, FontHeightBelowTheMinimumIsRaisedShownAndReported) {
  Open("Font");
  layout_.received.clear();
  TypeAndEnter(Edit(1014), "0.1");
  EXPECT_EQ(Edit(1014)->text(), "0.2");
  const auto changes = Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].msg, WM_UPDATE_FONT);
  EXPECT_FLOAT_EQ(PropToFloat(changes[0].value), 0.2f);
}

TEST_F(TextPagesTest, NegativeFixedWidthIsNotReported) {
  Open("Font");
  layout_.received.clear();
  TypeAndEnter(Edit(1020), "-1");
  EXPECT_TRUE(Changes().empty());
  TypeAndEnter(Edit(1020), "2");
  ASSERT_EQ(Changes().size(), 1u);
}

TEST_F(TextPagesTest, TrueTypeAndDotFontsExcludeEachOther) {
  Open("Font");
  auto* ttf = Control<QCheckBox>("check1111");
  auto* dots = Control<QCheckBox>("check1180");
  ClickBox(ttf);
  EXPECT_TRUE(ttf->isChecked());
  EXPECT_FALSE(Control<QComboBox>("combo1072")->isEnabled());
  EXPECT_FALSE(Control<QComboBox>("combo1073")->isEnabled());
  EXPECT_FALSE(dots->isEnabled());
  EXPECT_TRUE(Control<QPushButton>("button1113")->isEnabled());
  ClickBox(ttf);
  ClickBox(dots);
  EXPECT_FALSE(ttf->isEnabled());
  EXPECT_TRUE(Control<QComboBox>("combo1074")->isEnabled());
  EXPECT_FALSE(Control<QPushButton>("button1113")->isEnabled());
  const auto changes = Changes();
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].id, 1111);
  EXPECT_EQ(PropToInt(changes[0].value), 1);
  EXPECT_EQ(changes[2].id, 1180);
}

TEST_F(TextPagesTest, FontChooserReportsOnlyAnotherFont) {
  Open("Font");
  ClickBox(Control<QCheckBox>("check1111"));
  layout_.received.clear();
  auto* button = Control<QPushButton>("button1113");
  fonts_->QueueCancel();
  QTest::mouseClick(button, Qt::LeftButton);
  Pump();
  const TextLogFont same = rig_->S().font;
  fonts_->QueueFont({same.faceName, same.height, same.weight, same.italic != 0});
  QTest::mouseClick(button, Qt::LeftButton);
  Pump();
  EXPECT_TRUE(Changes().empty());
  fonts_->QueueFont({"DejaVu Sans", -20, 700, false});
  QTest::mouseClick(button, Qt::LeftButton);
  Pump();
  const auto changes = Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].id, 1113);
  TextLogFont chosen;
  ASSERT_TRUE(DecodeLogFont(PropToText(changes[0].value), chosen));
  EXPECT_EQ(chosen.faceName, "DejaVu Sans");
  EXPECT_EQ(chosen.weight, 700);
  EXPECT_EQ(Control<QLabel>("label1112")->text(), "DejaVu Sans");
}

struct HeaderCase {
  const char* header;
  ShxKind kind;
};
class ShxHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(ShxHeaderTest, HeaderDecidesTheList) {
  EXPECT_EQ(ShxKindOfHeader(std::string(GetParam().header) + "\r\n\x1a" + "rest"), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Headers, ShxHeaderTest,
                         ::testing::Values(HeaderCase{"AutoCAD-86 bigfont 1.0", ShxKind::BigFont},
                                           HeaderCase{"AutoCAD-86 unifont 1.0", ShxKind::Western},
                                           HeaderCase{"AutoCAD-87 shapes 1.0", ShxKind::Western},
                                           HeaderCase{"AutoCAD-90 shapes 1.0", ShxKind::Western},
                                           HeaderCase{"AutoCAD-86 shapes 1.0", ShxKind::None},
                                           HeaderCase{"AutoCAD-91 shapes 1.0", ShxKind::None}));

TEST_F(TextPagesTest, FontListsOfferTheFolderFilesByKind) {
  const auto write = [&](const char* name, const std::string& header) {
    std::ofstream(rig_->Folder().Path() + "/Fonts/" + name, std::ios::binary) << header << "\r\n\x1a";
  };
  write("Romans.SHX", "AutoCAD-86 unifont 1.0");
  write("hztxt.shx", "AutoCAD-86 bigfont 1.0");
  write("gbenor.shx", "AutoCAD-87 shapes 1.0");
  write("chineset.shx", "AutoCAD-86 bigfont 1.0");
  write("italic.shx", "AutoCAD-87 shapes 1.0");
  write("old86.shx", "AutoCAD-86 shapes 1.0");
  write("simplex.fnt", "anything");
  const FontFileLists lists = ListFontFiles(rig_->Folder().Path());
  // The rig's own mm.shx is an "AutoCAD-86 shapes" file, which is not offered.
  EXPECT_EQ(lists.west, (std::vector<std::string>{"romans.shx", "simplex.fnt"}));
  EXPECT_EQ(lists.chinese, (std::vector<std::string>{"hztxt.shx"}));
  Open("Font");
  EXPECT_EQ(Control<QComboBox>("combo1072")->count(), 2);
  EXPECT_EQ(Control<QComboBox>("combo1072")->currentText(), "mm.shx");
}
