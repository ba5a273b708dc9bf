// What the operator changes in the layout through the real window is what
// the layout holds: every edit that moves, turns, copies, takes away or
// reorders objects counts as a change that File > New asks about and is
// taken back alone by one Undo, and showing an
// object's pages never changes the object, nor does typing into a locked
// machine parameter; what a page shows is what its object holds (a text's
// height, a ruler's marks through copies and undo). Also the commands'
// dialogs and messages around it: refused page values, the dithering
// values, a plot file that holds no drawing, a dot export that cannot be
// written, settings files that cannot be written, numbers no float holds,
// the marking time pane, the size dialog on objects without width or height.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/core/StatusTexts.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "platform/FileDialog.h"
#include "properties/link/CProperityView.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/app/frames/LayoutWindowFixture.h"
#include "tests/support/FocusTakingPrompt.h"
#include "text/exchange/hpgl/PltImport.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextRuler.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_ROTATE = 32801;
constexpr int ID_MIRROR_X = 32843;
constexpr int ID_MATRIX_COPY = 32842;
constexpr int ID_ALIGN_LEFT = 32805;
constexpr int ID_ALIGN_RIGHT = 32806;
constexpr int ID_ALIGN_TOP = 32807;
constexpr int ID_ALIGN_BOTTOM = 32808;
constexpr int ID_OFFSET = 32856;
constexpr int ID_OBJECT_SIZE = 32837;
constexpr int ID_CHANGE_MARK_ORDER = 32835;
constexpr int ID_IMPORT_FILE = 32782;
constexpr char kSaveQuestion[] = "Mark data is repared !,Save data?";
constexpr char kBadSize[] = "Width and height must be numbers above 0!";
constexpr char kPltMessage[] = "PLT is must AutoCad R14(HP_7475)\nor AutoCad R2000(HP_7550A)\nor Coreldraw9";

class LayoutEditTest;

struct LayoutEdit {
  const char* name;
  std::function<void(LayoutEditTest&)> make;
};

void PrintTo(const LayoutEdit& edit, std::ostream* out) { *out << edit.name; }

class LayoutEditTest : public LayoutWindowTest, public ::testing::WithParamInterface<LayoutEdit> {
 public:
  using LayoutWindowTest::AnswerNextDialog;
  using LayoutWindowTest::Command;
  using LayoutWindowTest::Key;
  using LayoutWindowTest::MoveTo;
  using LayoutWindowTest::Model;
  using LayoutWindowTest::Press;
  using LayoutWindowTest::Px;
  using LayoutWindowTest::Release;
  using LayoutWindowTest::Settle;
  using LayoutWindowTest::TypeIntoDialog;
  using LayoutWindowTest::View;
};

// Drags the selection frame's lower right handle 5 mm further out.
void DragCornerHandle(LayoutEditTest& t) {
  t.View()->viewport()->repaint();  // the handles are where the frame was drawn
  const CDoublePoint corner = t.Model().m_handleRects[4].CenterPoint();
  const QPoint from = t.Px(corner.x, corner.y);
  const QPoint to = t.Px(corner.x + 5, corner.y - 5);
  t.MoveTo(from);
  t.Press(from);
  t.MoveTo(to, true);
  t.Release(to);
  t.Settle();
}

}  // namespace

// From a layout just opened (nothing changed), two of its objects selected
// in the list: a line from (-5, -5) to (5, 5) and a drawing from (0, 0) to
// (25, 0), so that every edge lies elsewhere.
TEST_P(LayoutEditTest, CountsAsAChangeThatNewAsksAbout) {
  const std::string path = CopyLayoutFixture("a.mrk");
  StartWithNewLayout({QString::fromStdString(path)});
  ASSERT_EQ(Doc().GetSavedState(), 0);
  const std::string before = FormatMrkFile(Doc().Objects(), {});
  ClickRow(RowOf(Named("Line-2")));
  ClickRow(RowOf(Named("HPGL-1")), Qt::ControlModifier);
  ASSERT_EQ(SelectedNames(), (std::vector<std::string>{"HPGL-1", "Line-2"}));

  GetParam().make(*this);
  ASSERT_TRUE(prompt_->Texts().empty()) << prompt_->Texts().front();
  ASSERT_TRUE(FormatMrkFile(Doc().Objects(), {}) != before) << "the edit changed the layout";

  prompt_->QueueAnswer(IDCANCEL);
  Command(cmd::ID_FILE_NEW);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kSaveQuestion});
  EXPECT_EQ(Doc().GetPathName(), path) << "Cancel keeps the layout";
}

// One Ctrl+Z takes back the edit alone: the change made before it stays.
TEST_P(LayoutEditTest, OneUndoTakesBackThisEditAlone) {
  StartWithNewLayout({QString::fromStdString(CopyLayoutFixture("a.mrk"))});
  ClickRow(RowOf(Named("Line-2")));
  ClickRow(RowOf(Named("HPGL-1")), Qt::ControlModifier);
  Key(Qt::Key_Right);  // the change before
  const std::string between = FormatMrkFile(Doc().Objects(), {});

  GetParam().make(*this);
  ASSERT_TRUE(prompt_->Texts().empty()) << prompt_->Texts().front();
  ASSERT_NE(FormatMrkFile(Doc().Objects(), {}), between) << "the edit changed the layout";

  Command(cmd::ID_EDIT_UNDO);
  Settle();
  EXPECT_EQ(FormatMrkFile(Doc().Objects(), {}), between);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, LayoutEditTest,
    ::testing::Values(
        LayoutEdit{"NudgeEnd", [](LayoutEditTest& t) { t.Key(Qt::Key_End); }},
        LayoutEdit{"NudgePageUp", [](LayoutEditTest& t) { t.Key(Qt::Key_PageUp); }},
        LayoutEdit{"NudgeArrow", [](LayoutEditTest& t) { t.Key(Qt::Key_Left); }},
        LayoutEdit{"Offset",
                   [](LayoutEditTest& t) {
                     t.AnswerNextDialog([](QDialog& d) { LayoutEditTest::TypeIntoDialog(d, "edit1014", "20"); });
                     t.Command(ID_OFFSET);
                   }},
        LayoutEdit{"AlignLeft", [](LayoutEditTest& t) { t.Command(ID_ALIGN_LEFT); }},
        LayoutEdit{"AlignRight", [](LayoutEditTest& t) { t.Command(ID_ALIGN_RIGHT); }},
        LayoutEdit{"AlignTop", [](LayoutEditTest& t) { t.Command(ID_ALIGN_TOP); }},
        LayoutEdit{"AlignBottom", [](LayoutEditTest& t) { t.Command(ID_ALIGN_BOTTOM); }},
        LayoutEdit{"Cut", [](LayoutEditTest& t) { t.Command(ID_EDIT_CUT); }},
        LayoutEdit{"PermitOrDisableMark", [](LayoutEditTest& t) { t.Command(cmd::ID_PERMIT_MARK); }},
        LayoutEdit{"MarkOrder",
                   [](LayoutEditTest& t) {
                     t.AnswerNextDialog([](QDialog& d) {
                       auto* list = d.findChild<QListWidget*>("list1142");
                       ASSERT_NE(list, nullptr);
                       list->setCurrentRow(1);
                       QTest::mouseClick(d.findChild<QPushButton*>("button1144"), Qt::LeftButton);
                     });
                     t.Command(ID_CHANGE_MARK_ORDER);
                   }},
        LayoutEdit{"Rotate",
                   [](LayoutEditTest& t) {
                     t.AnswerNextDialog([](QDialog& d) { LayoutEditTest::TypeIntoDialog(d, "edit1014", "45"); });
                     t.Command(ID_ROTATE);
                   }},
        LayoutEdit{"MatrixCopy",
                   [](LayoutEditTest& t) {
                     t.AnswerNextDialog([](QDialog& d) { LayoutEditTest::TypeIntoDialog(d, "edit1014", "2"); });
                     t.Command(ID_MATRIX_COPY);
                   }},
        LayoutEdit{"MirrorX", [](LayoutEditTest& t) { t.Command(ID_MIRROR_X); }},
        LayoutEdit{"MouseResize", DragCornerHandle}),
    [](const auto& info) { return std::string(info.param.name); });

// Draw > Object size on an object without height or width (its side shows
// 0.000): a side left alone is not resized, so a new left-top corner moves
// it; only a side changed to 0 or below is refused.
enum class Flat { HorizontalLine, VerticalLine, Dot };

struct SizeCase {
  const char* name;
  Flat object;
  const char* edit;  // the one edit typed into
  const char* text;
  bool refused;
};

void PrintTo(const SizeCase& c, std::ostream* out) { *out << c.name; }

class FlatObjectSizeTest : public LayoutWindowTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(FlatObjectSizeTest, KeepsTheUnchangedSideAndMovesToTheCornerTyped) {
  const SizeCase& c = GetParam();
  StartWithNewLayout();
  if (c.object == Flat::Dot) {
    Command(cmd::ID_ADD_POINT);
    Click(Px(5, 5));
  } else if (c.object == Flat::HorizontalLine) {
    DrawTwoPoint(cmd::ID_ADD_LINE, Px(-10, 5), Px(10, 5));
  } else {
    DrawTwoPoint(cmd::ID_ADD_LINE, Px(5, -10), Px(5, 10));
  }
  ASSERT_EQ(Count(), 2);
  CObjElement* element = Doc().Objects().GetAt(1);
  ClickRow(RowOf(element));
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{element->name});
  const CDoubleRect before = element->GetBoundRect();
  ASSERT_TRUE(before.Width() == 0 || before.Height() == 0);
  std::string shownHeight;
  AnswerNextDialog([&](QDialog& d) {
    if (auto* height = d.findChild<QLineEdit*>("edit1001")) shownHeight = height->text().toStdString();
    TypeIntoDialog(d, c.edit, c.text);
  });
  Command(ID_OBJECT_SIZE);
  ASSERT_EQ(DialogsAnswered(), 1);
  if (c.object != Flat::VerticalLine) {
    EXPECT_EQ(shownHeight, "0.000");
  }
  const CDoubleRect after = element->GetBoundRect();
  EXPECT_NEAR(after.Width(), before.Width(), 1e-9);
  EXPECT_NEAR(after.Height(), before.Height(), 1e-9);
  if (c.refused) {
    EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kBadSize});
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    return;
  }
  ASSERT_TRUE(prompt_->Texts().empty()) << prompt_->Texts().front();
  const bool movedLeft = std::string(c.edit) == "edit1164";
  // A dot image moves by whole cells of its grid.
  const auto* dots = element->GetObjectAs<CObjDotCollect>();
  const double within = dots != nullptr ? dots->GetCellWidth() : 1e-3;
  EXPECT_NEAR(after.left, movedLeft ? -30 : before.left, within);
  EXPECT_NEAR(after.top, movedLeft ? before.top : 20, 1e-3);
  // One Undo puts it back.
  Command(cmd::ID_EDIT_UNDO);
  ASSERT_EQ(Count(), 2);
  const CDoubleRect undone = Doc().Objects().GetAt(1)->GetBoundRect();
  EXPECT_NEAR(undone.left, before.left, 1e-3);
  EXPECT_NEAR(undone.top, before.top, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlatObjectSizeTest,
    ::testing::Values(SizeCase{"HorizontalLineToANewLeft", Flat::HorizontalLine, "edit1164", "-30", false},
                      SizeCase{"VerticalLineToANewTop", Flat::VerticalLine, "edit1165", "20", false},
                      SizeCase{"DotToANewLeft", Flat::Dot, "edit1164", "-30", false},
                      SizeCase{"HorizontalLineGivenAHeightBelow0", Flat::HorizontalLine, "edit1001", "-1", true},
                      SizeCase{"HorizontalLineGivenAWidthOf0", Flat::HorizontalLine, "edit1000", "0", true}),
    [](const auto& info) { return std::string(info.param.name); });

// A rectangle turned by 45 degrees shows its "Rectangle" page; selecting
// something else and it again leaves its corners where they were.
TEST_F(LayoutWindowTest, ShowingATurnedRectanglesPageKeepsItTurned) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_RECTANGLE, Px(10, 5), Px(20, 12));
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, -15), Px(5, -10));
  CObjElement* rect = Named("rectangle-1");
  ASSERT_NE(rect, nullptr);
  ClickRow(RowOf(rect));
  AnswerNextDialog([](QDialog& d) { TypeIntoDialog(d, "edit1014", "45"); });
  Command(ID_ROTATE);
  ASSERT_EQ(DialogsAnswered(), 1);
  const CPointList turned(rect->GetObjectAs<CObjPolyLine>()->GetPathData().points);
  ASSERT_GT(std::fabs(turned[0].y - turned[1].y), 1) << "the rectangle is turned";
  const std::string saved = FormatMrkFile(Doc().Objects(), {});

  OpenPage("Rectangle");
  ClickRow(RowOf(Named("line-1")));
  ClickRow(RowOf(rect));
  OpenPage("Rectangle");

  const CPointList& now = rect->GetObjectAs<CObjPolyLine>()->GetPathData().points;
  ASSERT_EQ(now.GetSize(), turned.GetSize());
  for (int i = 0; i < now.GetSize(); ++i) {
    EXPECT_EQ(now[i].x, turned[i].x) << i;
    EXPECT_EQ(now[i].y, turned[i].y) << i;
  }
  EXPECT_EQ(FormatMrkFile(Doc().Objects(), {}), saved) << "what is saved is what the view shows";
}

// The work area's values that the machine settings keep as floats show with
// a float's digits; Enter in a field left as shown changes neither the
// layout nor the settings file, and a typed value is taken as typed.
TEST_F(LayoutWindowTest, WorkAreaPagesShowFloatsAsStoredAndKeepThemUntilChanged) {
  MachineSetRecord stored = DefaultMachineSetRecord();
  stored.rangeX = 120;
  stored.rangeY = 100;
  stored.resetSpeed = 45.3f;
  stored.transmissionConstant = 30.7f;
  stored.motorDiameter = 10.3f;
  stored.startPath[0] = 12.3f;
  stored.workpieceDiameter = 20.3f;
  stored.machineDouble1 = 33.3f;
  stored.optionByte = 0x04 | 0x80;  // rotate mark, rotate for line: their edits open
  const std::string settingsFile = folder_ + "/MachineSet.DAT";
  std::ofstream(settingsFile, std::ios::binary).write(reinterpret_cast<const char*>(&stored), sizeof stored);
  StartWithNewLayout();
  const CDrawProperity& record = *Doc().Objects().GetAt(0)->GetObjectAs<CDrawProperity>();
  auto held = [&record] {
    return std::vector<double>{record.GetResetSpeed(),   record.GetTransmissionConstant(), record.GetMotorDiameter(),
                               record.GetStepAngle(),    record.GetStartPath(0).x,         record.GetWorkDiameter(),
                               record.GetMachineDouble1()};
  };
  const std::vector<double> heldBefore = held();
  const std::string settingsBefore = ReadAll(settingsFile);
  const std::string layoutBefore = FormatMrkFile(Doc().Objects(), {});
  ClickRow(0);

  struct Field {
    const char* page;
    const char* edit;
    const char* shown;
  };
  const Field fields[] = {{"Mark parameter", "edit1014", "45.3"},   {"Mark parameter", "edit1023", "30.7"},
                          {"Mark parameter", "edit1024", "10.3"},   {"Mark parameter", "edit1027", "1.8"},
                          {"Work style...", "edit1017", "12.3"},    {"Rotate setting", "edit1014", "20.3"},
                          {"Rotate setting", "edit1015", "33.3"}};
  OpenPage("Mark parameter");
  TypeIntoPage("edit1020", "quenmart");  // opens the rotary constants
  for (const Field& f : fields) {
    OpenPage(f.page);
    auto* edit = Child()->PropertyPane()->View()->GetSheet()->currentWidget()->findChild<QLineEdit*>(f.edit);
    ASSERT_NE(edit, nullptr) << f.edit;
    EXPECT_EQ(edit->text().toStdString(), f.shown) << f.page << " " << f.edit;
    ASSERT_TRUE(edit->isEnabled()) << f.edit;
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
  }
  EXPECT_EQ(held(), heldBefore);
  EXPECT_EQ(FormatMrkFile(Doc().Objects(), {}), layoutBefore);
  EXPECT_EQ(ReadAll(settingsFile), settingsBefore);
  EXPECT_EQ(Doc().GetSavedState(), 0);

  OpenPage("Mark parameter");
  TypeIntoPage("edit1014", "45.7");
  EXPECT_EQ(record.GetResetSpeed(), 45.7);
  EXPECT_EQ(g_machineSet.resetSpeed, 45.7f);
}

// A value the work area's fields refuse is told once, though its box takes
// the focus from the field (whose loss reports again); the field then shows
// the value that stands, so leaving it says nothing more.
TEST_F(LayoutWindowTest, ARefusedWorkAreaValueIsToldOnceAndLeavingSaysNothingMore) {
  constexpr char kRange[] = "Please enter a number between 10 and 3000.";
  constexpr char kNumber[] = "Please enter a number.";
  struct Case {
    const char* edit;
    const char* typed;
    const char* message;
    const char* shown;  // null: the text from before
  };
  const Case cases[] = {{"edit1010", "5000", kRange, "3000"}, {"edit1011", "5", kRange, "10"},
                        {"edit1010", "12x", kNumber, nullptr}, {"edit1040", "abc", kNumber, nullptr},
                        {"edit1016", "abc", kNumber, nullptr}};
  StartWithNewLayout();
  ClickRow(0);
  OpenPage("Range");
  QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
  auto boxes = std::make_shared<FocusTakingPrompt>();
  platform::SetPrompt(boxes);
  for (const Case& c : cases) {
    auto* edit = page->findChild<QLineEdit*>(c.edit);
    ASSERT_NE(edit, nullptr) << c.edit;
    const QString before = edit->text();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, c.typed);
    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
    EXPECT_EQ(boxes->texts, std::vector<std::string>{c.message}) << c.edit << " " << c.typed;
    EXPECT_EQ(edit->text().toStdString(), (c.shown != nullptr ? QString(c.shown) : before).toStdString())
        << c.edit << " " << c.typed;
    boxes->texts.clear();
    QApplication::setActiveWindow(app_->MainFrame());
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    Settle();
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_TRUE(boxes->texts.empty()) << c.edit << " " << c.typed << ": " << boxes->texts.front();
    boxes->texts.clear();
  }
  platform::SetPrompt(prompt_);
  const CDrawProperity& record = *Doc().Objects().GetAt(0)->GetObjectAs<CDrawProperity>();
  EXPECT_EQ(record.GetRangeX(), 3000);
  EXPECT_EQ(record.GetRangeY(), 10);
}

// A value a page refuses, the operator leaving its field for another field,
// another page or another object: one message, nothing stored, and the focus
// back in the field (the page kept in front) once the box is gone. The box
// takes the focus from where the operator went, and the focus going back
// takes it again; neither is a field left by the operator, to check (and
// refuse) once more.
struct RefusalCase {
  const char* name;
  const char* object;  // selected in the list; null: the work area
  const char* page;
  const char* field;
  const char* typed;
  const char* message;
  enum Leave { kClickField, kClickTab, kClickRow } leave;
  const char* to;  // the field, tab or object clicked
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

// With the window behind the box given its focus back at once, or later.
class RefusedValueTest : public LayoutWindowTest,
                         public ::testing::WithParamInterface<std::tuple<RefusalCase, bool>> {};

TEST_P(RefusedValueTest, IsToldOnceAndTheFocusGoesBackToItsField) {
  const auto& [c, focusBackAtOnce] = GetParam();
  StartWithNewLayout();
  if (c.object != nullptr) {
    DrawThree();
    Command(cmd::ID_ADD_TEXT);
    Click(Px(0, 30));
  }
  ClickRow(c.object != nullptr ? RowOf(Named(c.object)) : 0);
  OpenPage(c.page);
  CObjProperitySheet* sheet = Child()->PropertyPane()->View()->GetSheet();
  QWidget* page = sheet->currentWidget();
  auto* field = page->findChild<QLineEdit*>(c.field);
  ASSERT_NE(field, nullptr) << c.field;
  const std::string layoutBefore = FormatMrkFile(Doc().Objects(), {});
  auto boxes = std::make_shared<FocusTakingPrompt>();
  if (focusBackAtOnce) boxes->GiveBackTo(app_->MainFrame());
  platform::SetPrompt(boxes);
  QApplication::setActiveWindow(app_->MainFrame());
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, c.typed);
  switch (c.leave) {
    case RefusalCase::kClickField: {
      auto* other = page->findChild<QLineEdit*>(c.to);
      ASSERT_NE(other, nullptr) << c.to;
      QTest::mouseClick(other, Qt::LeftButton);
      break;
    }
    case RefusalCase::kClickTab: {
      int tab = 0;
      while (tab < sheet->count() && sheet->tabText(tab) != QString(c.to)) ++tab;
      ASSERT_LT(tab, sheet->count()) << c.to;
      QTest::mouseClick(sheet->tabBar(), Qt::LeftButton, {}, sheet->tabBar()->tabRect(tab).center());
      break;
    }
    case RefusalCase::kClickRow: ClickRow(RowOf(Named(c.to))); break;
  }
  Settle();
  // Later, if not at once, the window system gives the window its focus back.
  QApplication::setActiveWindow(app_->MainFrame());
  Settle();
  platform::SetPrompt(prompt_);
  EXPECT_EQ(boxes->texts, std::vector<std::string>{c.message});
  EXPECT_EQ(FormatMrkFile(Doc().Objects(), {}), layoutBefore);
  if (c.leave == RefusalCase::kClickRow) {
    // Another object chosen: its pages come, the text refused goes.
    EXPECT_EQ(sheet->ShownObject(), Named(c.to));
    return;
  }
  EXPECT_EQ(sheet->tabText(sheet->currentIndex()).toStdString(), c.page);
  EXPECT_EQ(QApplication::focusWidget(), field);
  EXPECT_EQ(field->text().toStdString(), c.typed) << "the text to mend";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RefusedValueTest,
    ::testing::Combine(
        ::testing::Values(
            RefusalCase{"ResetSpeedToNextField", nullptr, "Mark parameter", "edit1014", "47.57.5",
                        "Please enter a number.", RefusalCase::kClickField, "edit1015"},
            RefusalCase{"ResetSpeedToWorkStyle", nullptr, "Mark parameter", "edit1014", "47.57.5",
                        "Please enter a number.", RefusalCase::kClickTab, "Work style..."},
            RefusalCase{"StartDelayToRotateSetting", nullptr, "Mark parameter", "edit1017", "-3",
                        "Please enter a positive integer.", RefusalCase::kClickTab, "Rotate setting"},
            RefusalCase{"StartPointToMarkParameter", nullptr, "Work style...", "edit1017", "1..2",
                        "Please enter a number.", RefusalCase::kClickTab, "Mark parameter"},
            RefusalCase{"LineStartToLineEnd", "line-1", "Line", "edit1001", "4.4.4", "Please enter a number.",
                        RefusalCase::kClickField, "edit1003"},
            RefusalCase{"LineEndToName", "line-1", "Line", "edit1004", "-", "Please enter a number.",
                        RefusalCase::kClickTab, "Name"},
            RefusalCase{"TextLeftToFont", "text-1", "Text", "edit1015", "1,5", "Please enter a number.",
                        RefusalCase::kClickTab, "Font"},
            RefusalCase{"TextHeightToLineRow", "text-1", "Font", "edit1014", "7.7.7", "Please enter a number.",
                        RefusalCase::kClickRow, "line-1"}),
        ::testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "FocusBackAtOnce" : "");
    });

// The text height shows what was typed once the view has written it into
// the text and the pages were refreshed from it, not the float's neighbour.
TEST_F(LayoutWindowTest, TextHeightShowsTheTypedDigitsAfterTheRefresh) {
  StartWithNewLayout();
  Command(cmd::ID_ADD_TEXT);
  Click(Px(0, 0));
  ASSERT_EQ(Count(), 2);
  OpenPage("Font");
  QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
  auto* height = page->findChild<QLineEdit*>("edit1014");
  ASSERT_NE(height, nullptr);
  // 0.1 is raised to the least height.
  for (const auto& [typed, shown] : {std::pair{"0.1", "0.2"}, {"0.4", "0.4"}, {"0.7", "0.7"}, {"12.3", "12.3"}}) {
    TypeIntoPage("edit1014", typed);
    const auto* text = Named("text-1")->GetObjectAs<CObjText>();
    EXPECT_FLOAT_EQ(static_cast<float>(text->Settings().charHeight * text->Settings().heightRatio),
                    QString(shown).toFloat());
    EXPECT_EQ(height->text().toStdString(), shown) << typed;
  }
}

// Each ruler keeps its own start-end marks and one-way switch: its page
// shows them, copies take them along, undo and redo bring them back.
TEST_F(LayoutWindowTest, RulerMarksAndOneWaySwitchAreEachRulersOwn) {
  StartWithNewLayout();
  Command(cmd::ID_ADD_RULER);
  Click(Px(0, 25));
  Command(cmd::ID_ADD_RULER);
  Click(Px(0, -25));
  ASSERT_EQ(Count(), 3);
  auto marks = [this](const char* name) {
    const RulerMarks& m = Named(name)->GetObjectAs<CObjTextRuler>()->Marks();
    return std::pair{m.startEnd, m.oneWay};
  };
  QCheckBox* oneWay = nullptr;
  QComboBox* startEnd = nullptr;
  auto show = [&](const std::string& name) {
    ClickRow(RowOf(Named(name)));
    OpenPage("Ruler");
    QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
    oneWay = page->findChild<QCheckBox*>("check1041");
    startEnd = page->findChild<QComboBox*>("combo1040");
    ASSERT_TRUE(oneWay != nullptr && startEnd != nullptr);
  };
  auto shown = [&] { return std::pair{startEnd->currentIndex(), oneWay->isChecked() ? 1 : 0}; };

  show("Ruler-2");
  TypeIntoPage("edit1024", "30");  // an arc, so the start-end list opens
  ASSERT_TRUE(startEnd->isEnabled());
  startEnd->setFocus();
  QTest::keyClick(startEnd, Qt::Key_Down);
  QTest::keyClick(startEnd, Qt::Key_Down);  // "disable end"
  Settle();
  QTest::mouseClick(oneWay, Qt::LeftButton, Qt::NoModifier, QPoint(6, oneWay->height() / 2));
  Settle();
  EXPECT_EQ(marks("Ruler-2"), std::pair(2, 1));
  EXPECT_EQ(marks("Ruler-1"), std::pair(0, 0));

  show("Ruler-1");
  EXPECT_EQ(shown(), std::pair(0, 0));
  EXPECT_EQ(startEnd->currentText().toStdString(), "all marker");
  show("Ruler-2");
  EXPECT_EQ(shown(), std::pair(2, 1));
  EXPECT_EQ(startEnd->currentText().toStdString(), "disable end");

  Key(Qt::Key_C, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(Count(), 4);
  const std::string copy = Doc().Objects().GetAt(3)->name;
  EXPECT_EQ(marks(copy.c_str()), std::pair(2, 1));
  show(copy);
  EXPECT_EQ(shown(), std::pair(2, 1));

  Command(cmd::ID_EDIT_UNDO);  // the paste
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(marks("Ruler-2"), std::pair(2, 1));
  EXPECT_EQ(marks("Ruler-1"), std::pair(0, 0));
  Command(cmd::ID_EDIT_UNDO);  // the one-way switch
  EXPECT_EQ(marks("Ruler-2"), std::pair(2, 0));
  show("Ruler-2");
  EXPECT_EQ(shown(), std::pair(2, 0));
  Command(cmd::ID_EDIT_REDO);
  EXPECT_EQ(marks("Ruler-2"), std::pair(2, 1));
  show("Ruler-2");
  EXPECT_EQ(shown(), std::pair(2, 1));
}

namespace {

struct BoardCase {
  const char* name;
  int softType;
  const char* settingsFile;
  friend void PrintTo(const BoardCase& c, std::ostream* out) { *out << c.name; }
};

class ProtectedParametersTest : public LayoutWindowTest, public ::testing::WithParamInterface<BoardCase> {
 protected:
  void TearDown() override {
    LayoutWindowTest::TearDown();
    g_softType = SOFT_TYPE_BIG_PORT_BOARD;
  }
};

}  // namespace

// "Protected parameter" locks every protected field of the mark parameter
// page whichever codes opened which group before, and what is typed into a
// locked field reaches neither the layout nor the board's settings file.
TEST_P(ProtectedParametersTest, LockingClosesEveryProtectedFieldAndStoresNothingTypedThere) {
  ASSERT_TRUE(WriteSoftTypeFile(ZephyneFilePath(folder_), GetParam().softType));
  StartWithNewLayout();
  ASSERT_EQ(g_softType.load(), GetParam().softType);
  const std::string settingsFile = folder_ + "/" + GetParam().settingsFile;
  const CDrawProperity& record = *Doc().Objects().GetAt(0)->GetObjectAs<CDrawProperity>();
  auto held = [&record] {
    return std::vector<double>{record.GetStepLengthX(),           record.GetStepLengthY(),
                               record.GetTransmissionCorrection(), record.GetTransmissionConstant(),
                               record.GetMotorDiameter(),          record.GetStepAngle(),
                               static_cast<double>(record.GetMicrostepExponent())};
  };
  ClickRow(0);
  OpenPage("Mark parameter");
  QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
  ASSERT_NE(page, nullptr);
  const char* protectedFields[] = {"edit1019", "edit1033", "edit1022", "edit1023", "combo1025", "edit1024", "edit1027"};
  const std::vector<std::vector<QString>> codeRuns = {
      {"tervadin"}, {"quenmart"}, {"tervadin", "quenmart"}, {"vessolin", "tervadin"}, {"tervadin", "vessolin"}};
  for (const auto& codes : codeRuns) {
    SCOPED_TRACE(codes.back().toStdString() + " after " + std::to_string(codes.size() - 1) + " other codes");
    for (const QString& code : codes) TypeIntoPage("edit1020", code);
    auto* lock = page->findChild<QPushButton*>("button1029");
    ASSERT_NE(lock, nullptr);
    ASSERT_TRUE(lock->isEnabled());
    QTest::mouseClick(lock, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(lock->isEnabled());
    for (const char* name : protectedFields) EXPECT_FALSE(page->findChild<QWidget*>(name)->isEnabled()) << name;

    const std::vector<double> heldBefore = held();
    const std::string settingsBefore = ReadAll(settingsFile);
    for (const char* name : protectedFields) {
      QWidget* field = page->findChild<QWidget*>(name);
      field->setFocus();
      if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
        QTest::keyClicks(edit, "7.5");
        QTest::keyClick(edit, Qt::Key_Return);
      } else {
        QTest::keyClick(field, Qt::Key_Down);
      }
      Settle();
    }
    EXPECT_EQ(held(), heldBefore);
    EXPECT_EQ(ReadAll(settingsFile), settingsBefore);
  }
  EXPECT_EQ(Doc().GetSavedState(), 0);
}

INSTANTIATE_TEST_SUITE_P(Boards, ProtectedParametersTest,
                         ::testing::Values(BoardCase{"Usb", SOFT_TYPE_USB, "MachineSetUsb.DAT"},
                                           BoardCase{"PortBoard", SOFT_TYPE_BIG_PORT_BOARD, "MachineSet.DAT"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Mark > "Twitter set...(W)" on fresh settings: OK takes what the dialog shows.
TEST_F(LayoutWindowTest, DitheringDialogConfirmsItsShownValuesWithOk) {
  StartWithNewLayout();
  ASSERT_EQ(g_machineSet.ditherRotateFactor, 0.0f);
  AnswerNextDialog();
  Command(cmd::ID_DITHERING_SET);
  EXPECT_TRUE(prompt_->Texts().empty()) << prompt_->Texts().front();
  EXPECT_EQ(DialogsAnswered(), 1);
  EXPECT_FLOAT_EQ(g_machineSet.ditherRotateFactor, 0.001f);
}

// Draw > "Import file(I)" of a plot file that is one of the read kinds but
// too short to hold a drawing says so instead of doing nothing.
TEST_F(LayoutWindowTest, TooShortPlotFileIsRefusedWithAMessage) {
  auto files = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(files);
  StartWithNewLayout();
  const std::string path = folder_ + "/short.plt";
  std::ofstream(path, std::ios::binary) << std::string(89, ';') << "PU;PA0,0;SP1;LT;";
  ASSERT_EQ(std::filesystem::file_size(path), 105u);
  ASSERT_EQ(DetectPltDialect(path), 2);
  files->QueuePath(path);
  Command(ID_IMPORT_FILE);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kPltMessage});
  platform::SetFileDialog(nullptr);
}

// File > "Export points image(*.pts)" to a place that cannot be written
// says so as a failed save does; a writable place gets the file and no message.
TEST_F(LayoutWindowTest, DotExportThatCannotBeWrittenIsReported) {
  auto files = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(files);
  StartWithNewLayout();
  DrawThree();
  ASSERT_EQ(Count(), 4);
  files->QueuePath("/proc/out.pts");
  Command(cmd::ID_EXPORT_POINTS_IMAGE);
  EXPECT_EQ(files->Requests().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists("/proc/out.pts"));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Save file error,the file is forbid to write?"});
  const std::string path = folder_ + "/dots.pts";
  files->QueuePath(path);
  Command(cmd::ID_EXPORT_POINTS_IMAGE);
  EXPECT_GT(std::filesystem::file_size(path), 256u + 1024u);
  EXPECT_EQ(prompt_->Texts().size(), 1u);
  platform::SetFileDialog(nullptr);
}

// A barcode's symbology, code type or step changed on its page is
// taken back alone by one Undo; the change before stays.
struct CodeEdit {
  const char* name;
  const char* control;
  const char* typed;  // null: a click on the control
};

void PrintTo(const CodeEdit& c, std::ostream* out) { *out << c.name; }

class BarcodePageUndoTest : public LayoutWindowTest, public ::testing::WithParamInterface<CodeEdit> {};

TEST_P(BarcodePageUndoTest, OneUndoTakesBackThePageEditAlone) {
  const CodeEdit& c = GetParam();
  StartWithNewLayout();
  Command(cmd::ID_ADD_BARCODE);
  Click(Px(0, 0));
  ASSERT_EQ(SelectedNames().size(), 1u);
  Key(Qt::Key_Right);  // the change before
  const std::string between = FormatMrkFile(Doc().Objects(), {});
  OpenPage("Barcode");
  QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
  if (c.typed != nullptr) {
    TypeIntoPage(c.control, c.typed);
  } else if (auto* combo = page->findChild<QComboBox*>(c.control)) {
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
  } else {
    auto* button = page->findChild<QAbstractButton*>(c.control);
    ASSERT_NE(button, nullptr) << c.control;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
  }
  Settle();
  ASSERT_NE(FormatMrkFile(Doc().Objects(), {}), between) << "the page changed the code";
  Command(cmd::ID_EDIT_UNDO);
  Settle();
  EXPECT_EQ(FormatMrkFile(Doc().Objects(), {}), between);
}

INSTANTIATE_TEST_SUITE_P(Edits, BarcodePageUndoTest,
                         ::testing::Values(CodeEdit{"Qr", "radio1006", nullptr}, CodeEdit{"CodeType", "combo1008", nullptr},
                                           CodeEdit{"Step", "edit1018", "3"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A dot spacing typed into "Dot image info" is saved with the layout: it is
// a change that File > New asks about, and one Undo takes it back.
TEST_F(LayoutWindowTest, DotSpacingTypedIntoItsPageIsAChangeNewAsksAbout) {
  auto files = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(files);
  StartWithNewLayout();
  Command(cmd::ID_ADD_POINT);
  Click(Px(5, 5));
  ASSERT_EQ(Count(), 2);
  CObjElement* dots = Doc().Objects().GetAt(1);
  const auto* image = dots->GetObjectAs<CObjDotCollect>();
  ASSERT_NE(image, nullptr);
  const double spacing = image->GetCellWidth();
  files->QueuePath(folder_ + "/dots.mrk");
  Command(cmd::ID_FILE_SAVE);
  ASSERT_FALSE(Doc().IsModified());
  ClickRow(RowOf(dots));
  OpenPage("Dot image info");
  TypeIntoPage("edit1012", "0.5");
  Settle();
  ASSERT_NEAR(image->GetCellWidth(), 0.5, 1e-6);
  EXPECT_TRUE(Doc().IsModified());

  prompt_->QueueAnswer(IDCANCEL);
  Command(cmd::ID_FILE_NEW);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kSaveQuestion});
  Command(cmd::ID_EDIT_UNDO);
  EXPECT_NEAR(Doc().Objects().GetAt(1)->GetObjectAs<CObjDotCollect>()->GetCellWidth(), spacing, 1e-6);
  platform::SetFileDialog(nullptr);
}

// Offset and Rotate keep their values as floats: a number no float holds is
// refused with the dialog's message and the dialog stays open, instead of
// sending the selection to infinity.
TEST_F(LayoutWindowTest, OffsetBeyondAFloatIsRefusedAndTheDialogStaysOpen) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-10, 5), Px(10, 5));
  CObjElement* line = Named("line-1");
  ASSERT_NE(line, nullptr);
  ClickRow(RowOf(line));
  const CDoubleRect before = line->GetBoundRect();
  bool stayedOpen = false;
  AnswerNextDialog([&](QDialog& d) {
    TypeIntoDialog(d, "edit1014", "1e39");
    QTest::mouseClick(d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    stayedOpen = d.isVisible();
    TypeIntoDialog(d, "edit1014", "20");
  });
  Command(ID_OFFSET);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Please enter a number."});
  const CDoubleRect after = line->GetBoundRect();
  EXPECT_NEAR(after.left, before.left + 20, 1e-3);
  EXPECT_NEAR(after.top, before.top, 1e-3);
}

// The reference-arc switch: switching it off stores the taught arc.
constexpr int ID_TWO_POINT_ARC = 32887;

// A settings file that cannot be written (a folder stands at its name) is
// told, whichever command writes it, never taken for stored.
struct SettingsWriteCase {
  const char* name;
  const char* file;
  int command;
  // The command's settings dialog is answered with OK; the reference arc
  // has none, it is taught first.
  bool asks;
};

void PrintTo(const SettingsWriteCase& c, std::ostream* out) { *out << c.name; }

class UnwritableSettingsFileTest : public LayoutWindowTest, public ::testing::WithParamInterface<SettingsWriteCase> {};

TEST_P(UnwritableSettingsFileTest, IsTold) {
  const SettingsWriteCase& c = GetParam();
  if (!c.asks) TeachReferenceArc();
  StartWithNewLayout();
  const std::string path = folder_ + "/" + c.file;
  std::filesystem::remove(path);
  std::filesystem::create_directories(path + "/held");
  if (c.asks) AnswerNextDialog();
  Command(c.command);
  Settle();
  EXPECT_EQ(DialogsAnswered(), c.asks ? 1 : 0);
  ASSERT_FALSE(prompt_->Texts().empty()) << "the failure is told";
  EXPECT_EQ(prompt_->Texts().front(), "save parameter error!");
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnwritableSettingsFileTest,
    ::testing::Values(SettingsWriteCase{"PrintEdges", "PaperPrintSet.DAT", cmd::ID_PRINT_EDGE_SETTING, true},
                      SettingsWriteCase{"SerialPort", "COMSET_EX.DAT", cmd::ID_RS232_SETTING, true},
                      SettingsWriteCase{"BoardType", "Zephyne.dat", cmd::ID_SOFT_TYPE, true},
                      SettingsWriteCase{"SpreadsheetLink", "ExcelMarkPara.dat", cmd::ID_CONFIG_EXCEL, true},
                      SettingsWriteCase{"ReferenceArc", "ArcPointedInfo.DAT", ID_TWO_POINT_ARC, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The marking time with its unit fits its pane, also for a long job.
TEST_F(LayoutWindowTest, MarkingTimeFitsItsPane) {
  StartWithNewLayout();
  CMainFrame* frame = app_->MainFrame();
  for (const WPARAM ms : {1420u, 1234560u}) {
    frame->Target().PostMessage(WM_SHOW_MARK_TIME, ms, 0);
    Settle();
    QLabel* pane = frame->Pane(ID_PANE_TIME);
    ASSERT_TRUE(pane->text().endsWith(QString::fromUtf8("秒"))) << pane->text().toStdString();
    EXPECT_GE(pane->contentsRect().width(), pane->fontMetrics().horizontalAdvance(pane->text()))
        << pane->text().toStdString();
  }
}
