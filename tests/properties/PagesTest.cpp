#include <cfloat>
#include <ostream>
#include <utility>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "document/geometry/SharedState.h"
#include "document/objects/CObjDotCollect.h"
#include "document/params/CDrawProperity.h"
#include "platform/NumberText.h"
#include "properties/framework/BindingTable.h"
#include "properties/list/CObjectListBox.h"
#include "properties/pages/CUpdateDrawSizePage.h"
#include "properties/pages/CUpdateFillObjPage.h"
#include "properties/pages/CUpdatePrintProperityPage.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"
#include "widgets/CSpinButton.h"

namespace {

// Check boxes and radio buttons take clicks on their box and label only.
void ClickBox(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

// The element the page case edits.
enum class Target { WorkArea, Line, Text, Dots };

struct ThresholdCase {
  Target target;
  const char* page;
  const char* edit;
  const char* before;  // typed and reported first
  const char* after;   // then typed; reported or not
  bool reported;
  UINT msg;
  friend void PrintTo(const ThresholdCase& c, std::ostream* os) { *os << c.edit << " " << c.before << " to " << c.after; }
};

class PageCaseTest : public PaneTest {
 protected:
  CObjElement* Show(Target target) {
    CObjElement* e = nullptr;
    switch (target) {
      case Target::WorkArea: e = workArea_; break;
      case Target::Line: e = Add(1, "line-1"); break;
      case Target::Text: e = Add(2, "text-1"); break;
      case Target::Dots: {
        e = Add(5, "Dot image-1");
        CPointList points;
        e->AttachObject(new CObjDotCollect(points), static_cast<int>(sizeof(CObjDotCollect)), {});
        break;
      }
    }
    view_->AddObject(e, 0);
    Pump();
    return e;
  }
};

class ThresholdTest : public PageCaseTest, public ::testing::WithParamInterface<ThresholdCase> {};

TEST_P(ThresholdTest, ChangesUnderThePageThresholdAreNotPosted) {
  const ThresholdCase& c = GetParam();
  CObjElement* object = Show(c.target);
  Open(c.page);
  auto* edit = Control<QLineEdit>(c.edit);
  ASSERT_NE(edit, nullptr);
  TypeAndEnter(edit, c.before);
  layout_.received.clear();
  TypeAndEnter(edit, c.after);
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), c.reported ? 1u : 0u) << c.edit << " " << c.after;
  if (!c.reported) return;
  EXPECT_EQ(changes[0].msg, c.msg);
  EXPECT_EQ(changes[0].object, object);
  EXPECT_EQ(changes[0].id, QString(c.edit).mid(4).toInt());
  EXPECT_NEAR(PropToDouble(changes[0].value), QString(c.after).toDouble(), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ThresholdTest,
    ::testing::Values(
        ThresholdCase{Target::WorkArea, "Range", "edit1010", "120", "120.0009", false, WM_UPDATE_DRAWSIZE},
        ThresholdCase{Target::WorkArea, "Range", "edit1010", "120", "120.002", true, WM_UPDATE_DRAWSIZE},
        ThresholdCase{Target::WorkArea, "Range", "edit1011", "100", "100.0001", true, WM_UPDATE_DRAWSIZE},
        ThresholdCase{Target::WorkArea, "Range", "edit1040", "1", "1.004", false, WM_UPDATE_DRAWSIZE},
        ThresholdCase{Target::WorkArea, "Range", "edit1016", "1", "1.006", true, WM_UPDATE_DRAWSIZE},
        ThresholdCase{Target::Text, "Fill object", "edit1014", "30", "30.000001", false, WM_UPDATE_FILLOBJ},
        ThresholdCase{Target::Text, "Fill object", "edit1014", "30", "30.5", true, WM_UPDATE_FILLOBJ},
        ThresholdCase{Target::Text, "Fill object", "edit1015", "0.5", "0.51", true, WM_UPDATE_FILLOBJ},
        ThresholdCase{Target::Dots, "Dot image info", "edit1012", "0.3", "0.304", false, WM_UPDATE_DOTMATRIX},
        ThresholdCase{Target::Dots, "Dot image info", "edit1013", "0.3", "0.306", true, WM_UPDATE_DOTMATRIX},
        ThresholdCase{Target::Line, "Mark properity", "edit1014", "100", "100", false, WM_UPDATE_PRINTPROPERITY},
        ThresholdCase{Target::Line, "Mark properity", "edit1014", "100", "101", true, WM_UPDATE_PRINTPROPERITY},
        ThresholdCase{Target::Line, "Mark properity", "edit1017", "10", "10.0001", true,
                      WM_UPDATE_PRINTPROPERITY}));

// A float shows with the fewest digits (6 at least) that read back as the
// same float, so an unchanged field reads back unchanged.
TEST(FloatText, ReadsBackAsTheSameFloat) {
  const std::pair<float, const char*> cases[] = {
      {1.8f, "1.8"},           {0.1f, "0.1"},
      {-0.3f, "-0.3"},         {0.0f, "0"},
      {123.4567f, "123.4567"}, {16777215.0f, "16777215"},
      {1e-7f, "1e-07"},        {-103.217316f, "-103.217316"},
      {FLT_MAX, "3.4028235e+38"}, {FLT_MIN, "1.1754944e-38"}};
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(FormatFloatText(value), text);
    EXPECT_EQ(static_cast<float>(platform::ParseDoubleC(FormatFloatText(value))), value) << text;
  }
}

TEST_F(PaneTest, LeavingRangeXReportsTwiceWithTheTypedValue) {
  view_->AddObject(workArea_, 0);
  Pump();
  Open("Range");
  TypeAndLeave(Control<QLineEdit>("edit1010"), "2500");
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 2u);
  for (const Received& r : changes) {
    EXPECT_EQ(r.msg, WM_UPDATE_DRAWSIZE);
    EXPECT_EQ(r.id, 1010);
    EXPECT_EQ(r.object, workArea_);
  }
  // The focus-lost notice keeps to 20..1000; the key report that follows
  // stands, and the view applies the records in order.
  EXPECT_DOUBLE_EQ(PropToDouble(changes[0].value), 1000);
  EXPECT_DOUBLE_EQ(PropToDouble(changes[1].value), 2500);
  EXPECT_DOUBLE_EQ(Sheet().PageAs<CUpdateDrawSizePage>(PageSlot::DrawSize)->rangeX, 2500);
  EXPECT_TRUE(prompt_->Texts().empty());
}

TEST_F(PaneTest, RangeAboveTheLimitIsReportedAsTheLimitAfterTheMessage) {
  view_->AddObject(workArea_, 0);
  Pump();
  Open("Range");
  TypeAndEnter(Control<QLineEdit>("edit1010"), "5000");
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{"Please enter a number between 10 and 3000."}));
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_DOUBLE_EQ(PropToDouble(changes[0].value), 3000);
  prompt_->Clear();
  TypeAndEnter(Control<QLineEdit>("edit1010"), "12x");
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{"Please enter a number."}));
  EXPECT_EQ(layout_.Changes().size(), 1u);
}

TEST_F(PaneTest, RangeChangeAlsoReachesTheWorkStylePageCopy) {
  // The work-style page is not among the pages yet: the record still goes.
  view_->AddObject(workArea_, 0);
  Pump();
  Open("Range");
  TypeAndEnter(Control<QLineEdit>("edit1011"), "300");
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(layout_.Changes()[0].id, 1011);
}

struct SpinCase {
  Target target;
  const char* page;
  const char* edit;
  const char* spin;
  const char* start;
  bool up;
  double expected;
  int postedId;  // 0: nothing posted
  friend void PrintTo(const SpinCase& c, std::ostream* os) { *os << c.spin << (c.up ? " up from " : " down from ") << c.start; }
};

class SpinTest : public PageCaseTest, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(SpinTest, StepsStopAtTheirBounds) {
  const SpinCase& c = GetParam();
  Show(c.target);
  Open(c.page);
  auto* edit = Control<QLineEdit>(c.edit);
  TypeAndEnter(edit, c.start);
  layout_.received.clear();
  auto* spin = Control<CSpinButton>(c.spin);
  ASSERT_NE(spin, nullptr);
  QTest::mouseClick(c.up ? spin->UpButton() : spin->DownButton(), Qt::LeftButton);
  Pump();
  EXPECT_NEAR(edit->text().toDouble(), c.expected, 1e-5);
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), c.postedId != 0 ? 1u : 0u);
  if (c.postedId == 0) return;
  EXPECT_EQ(changes[0].id, c.postedId);
  EXPECT_NEAR(PropToDouble(changes[0].value), c.expected, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Spins, SpinTest,
    ::testing::Values(SpinCase{Target::WorkArea, "Range", "edit1010", "spin1013", "22", false, 20, 1010},
                      SpinCase{Target::WorkArea, "Range", "edit1010", "spin1013", "997", true, 1000, 1010},
                      SpinCase{Target::WorkArea, "Range", "edit1011", "spin1014", "100", false, 95, 1011},
                      SpinCase{Target::Text, "Fill object", "edit1014", "spin1116", "80", true, 90, 1014},
                      SpinCase{Target::Text, "Fill object", "edit1014", "spin1116", "10", false, 0, 1014},
                      SpinCase{Target::Text, "Fill object", "edit1014", "spin1116", "90", true, 90, 0},
                      SpinCase{Target::Text, "Fill object", "edit1015", "spin1117", "0.05", false, 0.03, 1015},
                      SpinCase{Target::Line, "Mark properity", "edit1014", "spin1049", "0", false, 0, 1014},
                      SpinCase{Target::Line, "Mark properity", "edit1014", "spin1049", "10000", true, 10000, 1014},
                      SpinCase{Target::Line, "Mark properity", "edit1014", "spin1049", "9960", true, 10010, 1014},
                      SpinCase{Target::Line, "Mark properity", "edit1015", "spin1050", "30", false, 0, 1015}));

TEST_F(PaneTest, FillSpacingBelowTheMinimumIsRaisedAndShown) {
  view_->AddObject(Add(3, "rectangle-1"), 0);
  Pump();
  Open("Fill object");
  TypeAndEnter(Control<QLineEdit>("edit1015"), "0.01");
  EXPECT_EQ(Control<QLineEdit>("edit1015")->text(), QString("0.03"));
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_FLOAT_EQ(PropToFloat(layout_.Changes()[0].value), 0.03f);
}

TEST_F(PaneTest, NameIsReportedOncePerChangeAndNotWhenUnchanged) {
  CObjElement* line = Add(1, "line-1");
  view_->AddObject(line, 0);
  Pump();
  auto* edit = Control<QLineEdit>("edit1000");
  TypeAndEnter(edit, "line-1");
  EXPECT_TRUE(layout_.Changes().empty());
  TypeAndEnter(edit, "gear");
  TypeAndLeave(edit, "gear");
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].msg, WM_UPDATE_OBJNAME);
  EXPECT_EQ(changes[0].id, 1000);
  EXPECT_EQ(PropToText(changes[0].value), "gear");
  EXPECT_EQ(changes[0].object, line);
}

TEST_F(PaneTest, QuickSelectionAfterAnEditLeavesTheEditWithTheOldObject) {
  CObjElement* first = Add(1, "line-1");
  CObjElement* second = Add(1, "line-2");
  view_->AddObject(second, 0);
  view_->AddObject(first, 0);
  Pump();
  auto* edit = Control<QLineEdit>("edit1000");
  edit->setText("gear");
  QTest::keyClick(edit, Qt::Key_Return);
  // The layout view shows another object before the change went through.
  view_->SelectObject(second, List().FindObject(second));
  Pump();
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].object, first);
  EXPECT_EQ(PropToText(changes[0].value), "gear");
  EXPECT_EQ(edit->text(), QString("line-2"));
}

TEST_F(PaneTest, StopKeysWhileMarkingStopInsteadOfEditing) {
  view_->AddObject(Add(1, "line-1"), 0);
  Pump();
  Open("Mark properity");
  auto* check = Control<QCheckBox>("check1048");
  auto* start = Control<QLineEdit>("edit1014");
  MarkStatusWord = MSW_MARKING;
  start->setText("500");
  QTest::keyClick(start, Qt::Key_Return);
  check->setFocus();
  QTest::keyClick(check, Qt::Key_Space);
  Pump();
  EXPECT_TRUE(MarkStatusWord.load() & MSW_STOP_REQUEST);
  EXPECT_TRUE(layout_.Changes().empty());
  MarkStatusWord = 0;
  QTest::keyClick(start, Qt::Key_Return);
  Pump();
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(PropToUnsigned(layout_.Changes()[0].value), 500u);
}

TEST_F(PaneTest, ColourButtonAsksTheChooserAndReportsOnlyAChosenColour) {
  CObjElement* line = Add(1, "line-1");
  line->color = RGB(10, 20, 30);
  view_->AddObject(line, 0);
  Pump();
  Open("Mark properity");
  auto* button = Control<QPushButton>("button1172");
  colours_->QueueCancel();
  QTest::mouseClick(button, Qt::LeftButton);
  Pump();
  EXPECT_TRUE(layout_.Changes().empty());
  colours_->QueueColor(RGB(255, 0, 0));
  QTest::mouseClick(button, Qt::LeftButton);
  Pump();
  const auto requests = colours_->Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].initial, RGB(10, 20, 30));
  EXPECT_TRUE(requests[0].fullOpen);
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(layout_.Changes()[0].id, 1172);
  EXPECT_EQ(PropToUnsigned(layout_.Changes()[0].value), RGB(255, 0, 0));
  QTest::mouseClick(Control<QPushButton>("button1173"), Qt::LeftButton);
  Pump();
  ASSERT_EQ(layout_.Changes().size(), 2u);
  EXPECT_EQ(layout_.Changes()[1].id, 1173);
}

TEST_F(PaneTest, DataSourceListsFollowTheObjectKindAndTheChosenSource) {
  view_->AddObject(Add(1, "line-1"), 0);
  Pump();
  Open("Mark properity");
  auto* source = Control<QComboBox>("combo1052");
  auto* column = Control<QComboBox>("combo1053");
  EXPECT_FALSE(source->isEnabled());
  EXPECT_FALSE(column->isEnabled());

  CObjElement* text = Add(2, "text-1");
  view_->AddObject(text, 0);
  Pump();
  Open("Mark properity");
  EXPECT_TRUE(source->isEnabled());
  EXPECT_FALSE(column->isEnabled());
  layout_.received.clear();
  source->setFocus();
  QTest::keyClick(source, Qt::Key_Down);  // "Local" to "Excel file"
  Pump();
  EXPECT_TRUE(column->isEnabled());
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(layout_.Changes()[0].id, 1052);
  EXPECT_EQ(PropToInt(layout_.Changes()[0].value), 1);
  EXPECT_EQ(layout_.Changes()[0].object, text);
}

TEST_F(PaneTest, LayerChoiceReportsItsIndex) {
  CObjElement* line = Add(1, "line-1");
  line->layer = 2;
  view_->AddObject(line, 0);
  Pump();
  Open("Mark properity");
  auto* layer = Control<QComboBox>("combo1162");
  EXPECT_EQ(layer->currentText(), QString("The third layer"));
  layer->setFocus();
  QTest::keyClick(layer, Qt::Key_Down);
  Pump();
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(layout_.Changes()[0].id, 1162);
  EXPECT_EQ(PropToInt(layout_.Changes()[0].value), 3);
  EXPECT_EQ(Sheet().PageAs<CUpdatePrintProperityPage>(PageSlot::PrintProperity)->layerText, "The forth layer");
}

TEST_F(PaneTest, NameOfMoreThanThirtyTwoBytesIsRefused) {
  view_->AddObject(Add(1, "line-1"), 0);
  Pump();
  // Sixteen Chinese characters are 32 bytes in the document's code page; one more is too many.
  auto typeAndEnter = [&](const QString& text) {
    QLineEdit* edit = Control<QLineEdit>("edit1000");
    edit->selectAll();
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);  // as an input method delivers it
    QCoreApplication::sendEvent(edit, &typed);
    QTest::keyClick(edit, Qt::Key_Return);
    Pump();
  };
  const QString sixteen = QString::fromUtf8("\xE5\xAD\x97").repeated(16);
  typeAndEnter(sixteen);
  ASSERT_EQ(layout_.Changes().size(), 1u);
  typeAndEnter(sixteen + QString::fromUtf8("\xE5\xAD\x97"));
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{"Please enter no more than 32 characters."}));
  EXPECT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(PropToText(layout_.Changes()[0].value).size(), 32u);
}

TEST_F(PaneTest, MarkSwitchAndRadioGroupsReportTheirIds) {
  view_->AddObject(Add(1, "line-1"), 0);
  Pump();
  Open("Mark properity");
  auto* check = Control<QCheckBox>("check1048");
  ASSERT_TRUE(check->isChecked());
  ClickBox(check);
  Pump();
  EXPECT_FALSE(Control<QLineEdit>("edit1014")->isEnabled());
  EXPECT_FALSE(Control<CSpinButton>("spin1049")->isEnabled());
  ClickBox(check);
  EXPECT_TRUE(Control<QLineEdit>("edit1014")->isEnabled());
  ClickBox(Control<QRadioButton>("radio1118"));
  ClickBox(Control<QRadioButton>("radio1166"));
  Pump();
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 4u);
  EXPECT_EQ(changes[0].id, 1048);
  EXPECT_EQ(PropToInt(changes[0].value), 0);
  EXPECT_EQ(changes[1].id, 1048);
  EXPECT_EQ(PropToInt(changes[1].value), 1);
  EXPECT_EQ(changes[2].id, 1116);  // "Type-2" reports the group's first id
  EXPECT_EQ(PropToInt(changes[2].value), 2);
  EXPECT_EQ(changes[3].id, 1166);
  EXPECT_EQ(PropToInt(changes[3].value), 1);
}

TEST_F(PageCaseTest, DefaultGridReportsTheSpacingsAsTyped) {
  Show(Target::Dots);
  Open("Dot image info");
  Control<QLineEdit>("edit1012")->setText("0.7");
  Control<QLineEdit>("edit1013")->setText("0.9");
  QTest::mouseClick(Control<QPushButton>("button1041"), Qt::LeftButton);
  Pump();
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(layout_.Changes()[0].id, 1041);
  EXPECT_EQ(PropToFloatPair(layout_.Changes()[0].value), (FloatPair{0.7f, 0.9f}));
}

TEST_F(PaneTest, FillSwitchesReportOnClick) {
  CObjElement* rect = Add(3, "rectangle-1");
  rect->SetFillOn(1);
  view_->AddObject(rect, 0);
  Pump();
  Open("Fill object");
  EXPECT_TRUE(Control<QCheckBox>("check1114")->isChecked());
  ClickBox(Control<QCheckBox>("check1115"));
  Pump();
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(layout_.Changes()[0].id, 1115);
  EXPECT_EQ(PropToInt(layout_.Changes()[0].value), 1);
}

}  // namespace
