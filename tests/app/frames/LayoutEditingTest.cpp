// The layout view as an operator uses it through the real window: selecting
// in the layout and in the object list, Ctrl let go over another window, the
// pages in step with the selection after every command (a name typed on them
// renaming that object alone), paste, combine, rename, local zoom, the
// commands refused while a job runs, the questions before a changed layout is
// dropped, undo kept inside its own project, and the tool bar's check marks.
#include <xlsxwriter.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimerEvent>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "app/core/CommandIds.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "app/views/model/ExcelLinkRecord.h"
#include "app/views/model/ViewSettingsFiles.h"
#include "document/doc/CObjPtrArray.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedState.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/handtools/CJogPositionDlg.h"
#include "marking/link/LinkMessages.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "platform_qt/QtPictureDecoder.h"
#include "properties/framework/CPropertyPage.h"
#include "properties/link/CProperityView.h"
#include "properties/list/CObjectListBox.h"
#include "properties/pages/CUpdateBarCodePage.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "properties/sheet/PageSlot.h"
#include "tests/app/frames/LayoutWindowFixture.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"

namespace {

constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_CLEAR_ALL = 32800;
constexpr int ID_ROTATE = 32801;
constexpr int ID_MIRROR_X = 32843;
constexpr int ID_MIRROR_Y = 32844;
constexpr int ID_LOCAL_ZOOM = 32783;
constexpr int ID_SELECTED_TRACKING = 32886;
constexpr int ID_MATRIX_COPY = 32842;
constexpr int ID_SELECT_REFER_ARC = 32889;
constexpr int kLayer2 = 32851;
constexpr int kImportPicture = 32857;
constexpr char kSaveQuestion[] = "Mark data is repared !,Save data?";
constexpr char kParameterRecordName[] = "Object[Barcode]";

}  // namespace

TEST_F(LayoutWindowTest, ClickOnEmptySpaceSelectsNothingWhateverTheNamesSortBefore) {
  StartWithNewLayout();
  ASSERT_EQ(Doc().Objects().GetAt(0)->name, kParameterRecordName);
  DrawThree();
  ASSERT_EQ(Count(), 4);
  // "arc-1" sorts before "Object[Barcode]": the record keeps the first row.
  EXPECT_EQ(RowText(0), kParameterRecordName);
  EXPECT_EQ(RowText(1), "arc-1");

  Click(Px(30, -20));
  EXPECT_TRUE(Model().m_selection.empty());
  EXPECT_EQ(List()->GetSelectedIndexes(), std::vector<int>{0});
  Key(Qt::Key_Delete);
  EXPECT_EQ(Count(), 4);

  // A click on an object selects it, and no other.
  Click(Px(15, 5));
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{"rectangle-1"});
}

// Ctrl went down over the layout and came up over another window, which the
// layout view never hears of: later clicks are plain all the same.
enum class LetGoOver { List, Dialog };

class CtrlLetGoElsewhereTest : public LayoutWindowTest, public ::testing::WithParamInterface<LetGoOver> {};

TEST_P(CtrlLetGoElsewhereTest, LaterClicksSelectOneObjectEach) {
  StartWithNewLayout();
  DrawThree();
  QTest::keyPress(View(), Qt::Key_Control, Qt::ControlModifier);
  if (GetParam() == LetGoOver::List) {
    QTest::keyRelease(List(), Qt::Key_Control);
  } else {
    AnswerNextDialog([](QDialog& dialog) { QTest::keyRelease(&dialog, Qt::Key_Control); });
    Command(cmd::ID_DITHERING_SET);
    ASSERT_EQ(DialogsAnswered(), 1);
  }
  View()->setFocus();
  Click(Px(0, -12.5));
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"line-1"});
  Click(Px(15, 8.5));
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{"rectangle-1"});
  // Delete takes the one object clicked last.
  Key(Qt::Key_Delete);
  EXPECT_EQ(Count(), 3);
  EXPECT_NE(Named("line-1"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Windows, CtrlLetGoElsewhereTest, ::testing::Values(LetGoOver::List, LetGoOver::Dialog),
                         [](const auto& info) { return info.param == LetGoOver::List ? "List" : "Dialog"; });

class LinePageTest : public LayoutWindowTest {
 protected:
  // The number an edit of the property sheet's front page shows.
  double PageNumber(const char* editName) const {
    QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
    auto* edit = page != nullptr ? page->findChild<QLineEdit*>(editName) : nullptr;
    EXPECT_NE(edit, nullptr) << editName;
    return edit != nullptr ? edit->text().toDouble() : 0;
  }
  // The Line page shows the line's end points and its length.
  void ExpectPageShows(const CObjElement* element) const {
    const CPointList& points = element->GetObjectAs<CObjLine>()->GetPathData().points;
    EXPECT_NEAR(PageNumber("edit1001"), points[0].x, 1e-3);
    EXPECT_NEAR(PageNumber("edit1002"), points[0].y, 1e-3);
    EXPECT_NEAR(PageNumber("edit1003"), points[1].x, 1e-3);
    EXPECT_NEAR(PageNumber("edit1004"), points[1].y, 1e-3);
    EXPECT_NEAR(PageNumber("edit1009"), PointDistance(points[0], points[1]), 2e-3);
  }
};

TEST_F(LinePageTest, AfterSeveralWereSelectedTheLinePageShowsTheLineClickedNext) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-20, 0), Px(-10, 5));
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, 0), Px(5, 5));
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(10, -5), Px(20, 10));
  Click(Px(-15, 2.5));
  OpenPage("Line");
  CtrlClick(Px(0, 2.5));
  ASSERT_EQ(SelectedNames(), (std::vector<std::string>{"line-1", "line-2"}));
  Click(Px(15, 2.5));
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"line-3"});
  OpenPage("Line");
  CObjElement* line = Named("line-3");
  ExpectPageShows(line);

  // A field typed into changes that coordinate alone.
  const CPointList before(line->GetObjectAs<CObjLine>()->GetPathData().points);
  TypeIntoPage("edit1003", "25");
  const CPointList& after = line->GetObjectAs<CObjLine>()->GetPathData().points;
  EXPECT_EQ(after[0].x, before[0].x);
  EXPECT_EQ(after[0].y, before[0].y);
  EXPECT_EQ(after[1].x, 25);
  EXPECT_EQ(after[1].y, before[1].y);
  ExpectPageShows(line);
}

// Draw > Matrix copy keeps the original selected: the Line page shows it, and
// a coordinate typed there moves the original alone.
TEST_F(LinePageTest, AfterAMatrixCopyTheLinePageShowsAndEditsTheOriginal) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-20, 0), Px(-10, 5));
  Click(Px(-15, 2.5));
  OpenPage("Line");
  AnswerNextDialog([](QDialog& d) {
    TypeIntoDialog(d, "edit1014", "2");
    TypeIntoDialog(d, "edit1015", "3");
  });
  Command(ID_MATRIX_COPY);
  ASSERT_EQ(DialogsAnswered(), 1);
  ASSERT_EQ(Count(), 7);
  CObjElement* line = Named("line-1");
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"line-1"});
  ExpectPageShows(line);

  const auto points = [this](int i) -> const CPointList& {
    return Doc().Objects().GetAt(i)->GetObjectAs<CObjLine>()->GetPathData().points;
  };
  std::vector<CPointList> copies;
  for (int i = 2; i < Count(); ++i) copies.emplace_back(points(i));
  const CPointList before(line->GetObjectAs<CObjLine>()->GetPathData().points);
  TypeIntoPage("edit1001", "30.9");
  const CPointList& after = line->GetObjectAs<CObjLine>()->GetPathData().points;
  EXPECT_EQ(after[0].x, 30.9);
  EXPECT_EQ(after[1].x, before[1].x);
  for (int i = 2; i < Count(); ++i) {
    const CPointList& was = copies[static_cast<std::size_t>(i - 2)];
    EXPECT_EQ(points(i)[0].x, was[0].x) << Doc().Objects().GetAt(i)->name;
    EXPECT_EQ(points(i)[0].y, was[0].y) << Doc().Objects().GetAt(i)->name;
  }
}

struct TurnCommand {
  const char* name;
  int id;
  bool asksAngle;
};

void PrintTo(const TurnCommand& command, std::ostream* out) { *out << command.name; }

class TurnRefreshesPageTest : public LinePageTest, public ::testing::WithParamInterface<TurnCommand> {};

TEST_P(TurnRefreshesPageTest, TheLinePageShowsTheLineWhereTheCommandPutIt) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-20, 0), Px(-10, 5));
  Click(Px(-15, 2.5));
  CObjElement* line = Named("line-1");
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"line-1"});
  OpenPage("Line");
  const CPointList before(line->GetObjectAs<CObjLine>()->GetPathData().points);
  if (GetParam().asksAngle) AnswerNextDialog([](QDialog& d) { TypeIntoDialog(d, "edit1014", "90"); });
  Command(GetParam().id);
  const CPointList& after = line->GetObjectAs<CObjLine>()->GetPathData().points;
  ASSERT_GT(std::fabs(after[0].x - before[0].x) + std::fabs(after[0].y - before[0].y), 1) << "the line moved";
  ExpectPageShows(line);
}

INSTANTIATE_TEST_SUITE_P(Commands, TurnRefreshesPageTest,
                         ::testing::Values(TurnCommand{"Rotate", ID_ROTATE, true},
                                           TurnCommand{"MirrorX", ID_MIRROR_X, false},
                                           TurnCommand{"MirrorY", ID_MIRROR_Y, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutWindowTest, PastedCopiesAreAllSelectedAndDeletedTogether) {
  StartWithNewLayout();
  DrawThree();
  Key(Qt::Key_A, Qt::ControlModifier);
  ASSERT_EQ(Model().m_selection.size(), 3u);
  Key(Qt::Key_C, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(Count(), 7);
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"arc-11", "line-11", "rectangle-11"}));
  EXPECT_EQ(List()->GetSelCount(), 3);
  Key(Qt::Key_Delete);
  ASSERT_EQ(Count(), 4);
  EXPECT_NE(Named("arc-1"), nullptr);
  EXPECT_EQ(Named("arc-11"), nullptr);
  // The list loses exactly the copies' rows, the originals keep theirs.
  std::vector<std::string> rows;
  for (int row = 0; row < List()->GetCount(); ++row) rows.push_back(RowText(row));
  EXPECT_EQ(rows, (std::vector<std::string>{kParameterRecordName, "arc-1", "line-1", "rectangle-1"}));
}

// --- The pages follow the selection ---

class SelectionPagesTest : public LayoutWindowTest {
 public:
  using LayoutWindowTest::AnswerNextDialog;
  using LayoutWindowTest::ChooseFromRowMenu;
  using LayoutWindowTest::Click;
  using LayoutWindowTest::ClickRow;
  using LayoutWindowTest::Command;
  using LayoutWindowTest::Count;
  using LayoutWindowTest::Doc;
  using LayoutWindowTest::Drag;
  using LayoutWindowTest::DrawTwoPoint;
  using LayoutWindowTest::Key;
  using LayoutWindowTest::Model;
  using LayoutWindowTest::Named;
  using LayoutWindowTest::OpenPage;
  using LayoutWindowTest::Px;
  using LayoutWindowTest::RowOf;
  using LayoutWindowTest::Settle;
  using LayoutWindowTest::StartWithNewLayout;
  using LayoutWindowTest::TeachReferenceArc;
  using LayoutWindowTest::View;

  void TearDown() override {
    platform::SetClock(std::make_shared<platform::SteadyClock>());
    if (files_) platform::SetFileDialog(nullptr);
    platform::SetPictureDecoder(nullptr);
    LayoutWindowTest::TearDown();
  }

  CObjProperitySheet& Sheet() const { return *Child()->PropertyPane()->View()->GetSheet(); }
  QWidget* FrontPage() const { return Sheet().currentWidget(); }
  template <class T>
  T* FrontControl(const char* name) const {
    T* control = FrontPage() != nullptr ? FrontPage()->findChild<T*>(name) : nullptr;
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  // The sheet holds the pages of the object's kind, each linked to it (no
  // object: the work area's); its name page shows its name.
  void ExpectPagesShow(CObjElement* expected) {
    CObjElement* shown = expected != nullptr ? expected : Doc().Objects().GetAt(0);
    const std::vector<PageSlot>& set = PageSetOf(shown->type);
    ASSERT_EQ(Sheet().count(), static_cast<int>(set.size()));
    for (int i = 0; i < Sheet().count(); ++i) {
      CPropertyPage* page = Sheet().Page(set[static_cast<std::size_t>(i)]);
      EXPECT_EQ(Sheet().widget(i), page) << i;
      EXPECT_EQ(page->Link().GetObject(), shown) << page->Caption();
    }
    if (expected == nullptr) return;
    OpenPage("Name");
    auto* name = FrontControl<QLineEdit>("edit1000");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text().toStdString(), expected->name);
  }


  // A linked workbook of three rows whose column C reads "ROW<n>-C"; text-1
  // takes that column, then "system date-1" is added and stays selected.
  void TextFromColumnCThenDate() {
    const std::string path = folder_ + "/rows.xlsx";
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Rows");
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        const std::string cell = "ROW" + std::to_string(row + 1) + "-" + static_cast<char>('A' + col);
        worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), cell.c_str(), nullptr);
      }
    }
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    _EXCEL_FILE_PARA para{};
    ASSERT_TRUE(StoreExcelPath(para, path));
    ASSERT_TRUE(SaveExcelMarkPara(folder_, para));
    StartWithNewLayout();
    Command(cmd::ID_BAND_EXCEL);
    ASSERT_TRUE(Model().IsSheetOpen());
    Command(cmd::ID_ADD_TEXT);
    Click(Px(-20, 10));
    CObjElement* text = Named("text-1");
    ASSERT_NE(text, nullptr);
    OpenPage("Mark properity");
    auto* source = FrontControl<QComboBox>("combo1052");
    auto* column = FrontControl<QComboBox>("combo1053");
    ASSERT_TRUE(source != nullptr && column != nullptr);
    QTest::keyClick(source, Qt::Key_Down);  // "Excel file"
    Settle();
    QTest::keyClick(column, Qt::Key_Down);
    Settle();
    QTest::keyClick(column, Qt::Key_Down);  // "C"
    Settle();
    ASSERT_EQ(text->dataSource, 1);
    ASSERT_EQ(text->excelColumn, 2);
    ASSERT_EQ(text->GetObjectAs<CObjText>()->GetText(), "ROW1-C");
    Command(cmd::ID_ADD_SYSTEM_DATE);
    Click(Px(10, -20));
    ASSERT_NE(Named("system date-1"), nullptr);
    ASSERT_EQ(SelectedNames(), std::vector<std::string>{"system date-1"});
  }

  // A barcode in scan mode, its page in front.
  CObjElement* ScanningBarcode() {
    StartWithNewLayout();
    Command(cmd::ID_ADD_BARCODE);
    Click(Px(0, 0));
    CObjElement* code = Model().m_selection.empty() ? nullptr : Model().m_selection.front();
    EXPECT_TRUE(code != nullptr && code->type == OBJ_BARCODE);
    OpenPage("Barcode");
    auto* scan = FrontControl<QCheckBox>("check1033");
    if (scan == nullptr) return code;
    QTest::mouseClick(scan, Qt::LeftButton, Qt::NoModifier, QPoint(6, scan->height() / 2));
    Settle();
    EXPECT_TRUE(scan->isChecked());
    clock_ = std::make_shared<platform::SimulatedClock>();
    platform::SetClock(clock_);
    return code;
  }
  // The scanner types the text into "String" and stops: the scan gap passes
  // on the clock and the page's scan timer fires.
  void Scan(const QString& text) {
    auto* field = FrontControl<QLineEdit>("edit1032");
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, text);
    clock_->Advance(CUpdateBarCodePage::kScanGapMs * 1000.0);
    auto* page = Sheet().PageAs<CUpdateBarCodePage>(PageSlot::BarCode);
    ASSERT_NE(page->ScanTimerId(), 0);
    QTimerEvent fired(page->ScanTimerId());
    QCoreApplication::sendEvent(page, &fired);
    EXPECT_FALSE(page->IsScanTimerActive());
    Settle();
  }

  // "arc-1", "line-1" and "rectangle-1", line-1 clicked.
  void ThreeWithLine() {
    StartWithNewLayout();
    DrawThree();
    Click(Px(0, -12.5));
    ASSERT_EQ(SelectedNames(), std::vector<std::string>{"line-1"});
  }
  void QueuePromptAnswer(int answer) { prompt_->QueueAnswer(answer); }
  // The next file dialog is answered with this path.
  void QueueFile(const std::string& path) {
    if (!files_) {
      files_ = std::make_shared<platform::ScriptedFileDialog>();
      platform::SetFileDialog(files_);
    }
    files_->QueuePath(path);
  }
  // text-1 takes the text port's texts; line-1 is drawn after it (and
  // lists before it).
  void TextFromPortThenLine() {
    StartWithNewLayout();
    Command(cmd::ID_ADD_TEXT);
    Click(Px(-20, 10));
    OpenPage("Mark properity");
    auto* source = FrontControl<QComboBox>("combo1052");
    ASSERT_NE(source, nullptr);
    QTest::keyClick(source, Qt::Key_Down);
    Settle();
    QTest::keyClick(source, Qt::Key_Down);  // "RS232"
    Settle();
    ASSERT_EQ(Named("text-1")->dataSource, 2);
    DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, -15), Px(5, -10));
  }
  // The text port's bytes, as the port hands them to the pane.
  void ReceiveText(const std::string& bytes) {
    platform::MessageTarget* pane = Child()->PropertyPane()->View()->GetSelfTarget();
    for (unsigned char byte : bytes) pane->PostMessage(WM_COMM_RXCHAR, byte, 0);
    Settle();
  }
  using LayoutWindowTest::CopyLayoutFixture;
  using LayoutWindowTest::List;
  using LayoutWindowTest::SelectedNames;

  std::shared_ptr<platform::ScriptedFileDialog> files_;
  std::shared_ptr<platform::SimulatedClock> clock_;
};

struct SelectingCommand {
  const char* name;
  // Builds what the command needs and gives it; answers the object whose
  // pages then show (null: none, the work area's).
  std::function<CObjElement*(SelectionPagesTest&)> run;
};

void PrintTo(const SelectingCommand& command, std::ostream* out) { *out << command.name; }

class PagesFollowTest : public SelectionPagesTest, public ::testing::WithParamInterface<SelectingCommand> {};

// After the command the list, the handles and the pages show the same object
// (none: the work area's pages), and its name page renames it alone.
TEST_P(PagesFollowTest, ThePagesShowTheSelectedObjectOrNone) {
  CObjElement* expected = GetParam().run(*this);
  ASSERT_FALSE(HasFatalFailure());
  if (expected != nullptr) {
    EXPECT_EQ(Model().m_selection.GetElements(), std::vector<CObjElement*>{expected});
  } else {
    EXPECT_FALSE(Model().HasLayoutSelection());
  }
  // The list and the handles agree.
  std::vector<CObjElement*> listed;
  for (int row : List()->GetSelectedIndexes()) listed.push_back(List()->GetObjectAt(row));
  EXPECT_EQ(listed, expected != nullptr ? std::vector<CObjElement*>{expected}
                                        : std::vector<CObjElement*>{Doc().Objects().GetAt(0)});
  ExpectPagesShow(expected);
  if (expected == nullptr || HasFailure()) return;
  // A name typed on the page renames the selected object alone, undoably.
  std::vector<std::string> others;
  for (const CObjElement* element : Doc().Objects())
    if (element != expected) others.push_back(element->name);
  const std::string name = expected->name;
  TypeIntoPage("edit1000", "probe-name");
  EXPECT_EQ(expected->name, "probe-name");
  std::vector<std::string> after;
  for (const CObjElement* element : Doc().Objects())
    if (element != expected) after.push_back(element->name);
  EXPECT_EQ(after, others);
  Command(cmd::ID_EDIT_UNDO);
  EXPECT_NE(Named(name), nullptr);
  EXPECT_EQ(Named("probe-name"), nullptr);
}

CObjElement* LineCopiedAndPasted(SelectionPagesTest& t) {
  t.StartWithNewLayout();
  t.DrawTwoPoint(cmd::ID_ADD_LINE, t.Px(-20, 0), t.Px(-10, 5));
  t.Click(t.Px(-15, 2.5));
  t.Key(Qt::Key_C, Qt::ControlModifier);
  t.Key(Qt::Key_V, Qt::ControlModifier);
  return t.Named("line-11");
}

CObjElement* MatrixCopied(SelectionPagesTest& t) {
  t.StartWithNewLayout();
  t.DrawTwoPoint(cmd::ID_ADD_LINE, t.Px(-20, 0), t.Px(-10, 5));
  t.Click(t.Px(-15, 2.5));
  t.AnswerNextDialog();
  t.Command(ID_MATRIX_COPY);
  EXPECT_EQ(t.Count(), 5);
  return t.Named("line-1");
}

CObjElement* Combined(SelectionPagesTest& t) {
  t.StartWithNewLayout();
  t.DrawTwoPoint(cmd::ID_ADD_LINE, t.Px(-20, -10), t.Px(-10, -10));
  t.DrawTwoPoint(cmd::ID_ADD_LINE, t.Px(0, -10), t.Px(10, -10));
  t.ClickRow(t.RowOf(t.Named("line-1")));
  t.ClickRow(t.RowOf(t.Named("line-2")), Qt::ControlModifier);
  t.ChooseFromRowMenu(t.RowOf(t.Named("line-2")), Qt::Key_C);
  EXPECT_EQ(t.Count(), 2);
  return t.Doc().Objects().GetAt(1);
}

CObjElement* ReferArcSelected(SelectionPagesTest& t) {
  t.TeachReferenceArc();
  t.StartWithNewLayout();
  t.DrawTwoPoint(cmd::ID_ADD_ARC, t.Px(-20, 10), t.Px(-15, 14));
  t.ClickRow(t.RowOf(t.Named("arc-1")));
  t.OpenPage("Arc/circle");
  t.Command(ID_SELECT_REFER_ARC);
  // No object's pages: none that an edit could move arc-1 from, and the
  // arc stays the selection.
  EXPECT_TRUE(t.Model().IsReferenceArcSelected());
  return nullptr;
}

// Each record command after the rows were stepped once, "system date-1" selected.
CObjElement* RecordStepped(SelectionPagesTest& t, const std::function<void()>& step) {
  t.TextFromColumnCThenDate();
  if (::testing::Test::HasFatalFailure()) return nullptr;
  t.Command(cmd::ID_NEXT_RECORD);
  step();
  return t.Named("system date-1");
}

CObjElement* NoObject() { return nullptr; }

// Undo and Redo bring back another copy of the layout: nothing is selected.
CObjElement* Undone(SelectionPagesTest& t) {
  t.ThreeWithLine();
  t.Key(Qt::Key_Left);
  t.Key(Qt::Key_Z, Qt::ControlModifier);
  return NoObject();
}

CObjElement* Redone(SelectionPagesTest& t) {
  Undone(t);
  t.Click(t.Px(15, 8.5));
  t.Key(Qt::Key_Y, Qt::ControlModifier);
  return NoObject();
}

// rectangle-1 on the second layer, which is then hidden: a click on it
// selects nothing.
CObjElement* ClickedOnHiddenLayer(SelectionPagesTest& t) {
  t.ThreeWithLine();
  t.Click(t.Px(15, 8.5));
  t.OpenPage("Mark properity");
  auto* layer = t.FrontControl<QComboBox>("combo1162");
  if (layer == nullptr) return NoObject();
  QTest::keyClick(layer, Qt::Key_Down);
  t.Settle();
  EXPECT_EQ(t.Named("rectangle-1")->layer, 1);
  t.Command(kLayer2);
  t.Click(t.Px(0, -12.5));
  t.Click(t.Px(15, 8.5));
  return NoObject();
}

CObjElement* Opened(SelectionPagesTest& t) {
  const std::string path = t.CopyLayoutFixture("a.mrk");
  t.ThreeWithLine();
  t.QueueFile(path);
  t.QueuePromptAnswer(IDNO);
  t.Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(t.Doc().GetPathName(), path);
  return NoObject();
}

// The imported picture is selected.
CObjElement* PictureImported(SelectionPagesTest& t) {
  t.ThreeWithLine();
  platform_qt::InstallQtPictureDecoder();
  t.QueueFile(std::string(VENDRIK_TEST_DATA_DIR) + "/pictures/squares.bmp");
  t.Command(kImportPicture);
  EXPECT_EQ(t.Count(), 5);
  return t.Doc().Objects().GetAt(t.Count() - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PagesFollowTest,
    ::testing::Values(
        SelectingCommand{"MatrixCopy", MatrixCopied}, SelectingCommand{"Paste", LineCopiedAndPasted},
        SelectingCommand{"Combine", Combined}, SelectingCommand{"SelectReferArc", ReferArcSelected},
        SelectingCommand{"NextRecord",
                         [](SelectionPagesTest& t) {
                           return RecordStepped(t, [&t] { t.Command(cmd::ID_NEXT_RECORD); });
                         }},
        SelectingCommand{"PreviousRecord",
                         [](SelectionPagesTest& t) {
                           return RecordStepped(t, [&t] { t.Command(cmd::ID_PRE_RECORD); });
                         }},
        SelectingCommand{"MarkingJobsNextRecord",
                         [](SelectionPagesTest& t) {
                           return RecordStepped(t, [&t] {
                             // As the marking job asks after each piece.
                             t.View()->Target().PostMessage(WM_COMMAND, cmd::ID_NEXT_RECORD, 0);
                             t.Settle();
                           });
                         }},
        SelectingCommand{"Scan",
                         [](SelectionPagesTest& t) {
                           CObjElement* code = t.ScanningBarcode();
                           t.Scan("AB12");
                           return code;
                         }},
        SelectingCommand{"Undo", Undone}, SelectingCommand{"Redo", Redone},
        SelectingCommand{"DeleteKey",
                         [](SelectionPagesTest& t) {
                           t.ThreeWithLine();
                           t.Key(Qt::Key_Delete);
                           return NoObject();
                         }},
        SelectingCommand{"Cut",
                         [](SelectionPagesTest& t) {
                           t.ThreeWithLine();
                           t.Key(Qt::Key_X, Qt::ControlModifier);
                           return NoObject();
                         }},
        SelectingCommand{"ClearAll",
                         [](SelectionPagesTest& t) {
                           t.ThreeWithLine();
                           t.Command(ID_CLEAR_ALL);
                           return NoObject();
                         }},
        SelectingCommand{"NudgeKeys",
                         [](SelectionPagesTest& t) {
                           t.ThreeWithLine();
                           t.Key(Qt::Key_Left);
                           t.Key(Qt::Key_PageUp);
                           return t.Named("line-1");
                         }},
        SelectingCommand{"MouseDrag",
                         [](SelectionPagesTest& t) {
                           t.ThreeWithLine();
                           t.Drag(t.Px(15, 8.5), t.Px(17, 3));
                           return t.Named("rectangle-1");
                         }},
        SelectingCommand{"BandOfAllThenOfOne",
                         [](SelectionPagesTest& t) {
                           t.ThreeWithLine();
                           t.Drag(t.Px(-30, -25), t.Px(30, 25));
                           t.Drag(t.Px(-8, -20), t.Px(8, -5));
                           return t.Named("line-1");
                         }},
        SelectingCommand{"CtrlClickTakesARowOutOfTwo",
                         [](SelectionPagesTest& t) {
                           t.ThreeWithLine();
                           t.ClickRow(t.RowOf(t.Named("rectangle-1")), Qt::ControlModifier);
                           t.ClickRow(t.RowOf(t.Named("rectangle-1")), Qt::ControlModifier);
                           return t.Named("line-1");
                         }},
        SelectingCommand{"ClickOnAHiddenLayer", ClickedOnHiddenLayer},
        SelectingCommand{"Open", Opened}, SelectingCommand{"ImportPicture", PictureImported},
        SelectingCommand{"MarkOrder",
                         [](SelectionPagesTest& t) {
                           t.ThreeWithLine();
                           t.AnswerNextDialog([](QDialog& d) {
                             auto* list = d.findChild<QListWidget*>("list1142");
                             ASSERT_NE(list, nullptr);
                             list->setCurrentRow(1);
                             QTest::mouseClick(d.findChild<QPushButton*>("button1144"), Qt::LeftButton);
                           });
                           t.Command(cmd::ID_CHANGE_MARK_ORDER);
                           return NoObject();
                         }},
        SelectingCommand{"TextFromThePort",
                         [](SelectionPagesTest& t) {
                           t.TextFromPortThenLine();
                           t.Click(t.Px(0, -12.5));
                           t.ReceiveText("$$HELLO##");
                           return t.Named("text-1");
                         }},
        SelectingCommand{"TextFromThePortWhileItsPageShows",
                         [](SelectionPagesTest& t) {
                           t.TextFromPortThenLine();
                           t.ClickRow(t.RowOf(t.Named("text-1")));
                           t.OpenPage("Text");
                           t.ReceiveText("$$HELLO##");
                           auto* field = t.FrontControl<QLineEdit>("edit1014");
                           EXPECT_TRUE(field != nullptr && field->text() == "HELLO");
                           return t.Named("text-1");
                         }}),
    [](const auto& info) { return std::string(info.param.name); });

// Stepping the rows fills text-1 from its column while the date keeps the
// pages: its name page renames the date alone, and a click on text-1 in the
// list then shows text-1's own pages.
TEST_F(SelectionPagesTest, RecordsFillTheTextWhileThePagesStayOnTheSelectedDate) {
  TextFromColumnCThenDate();
  ASSERT_FALSE(HasFatalFailure());
  CObjElement* text = Named("text-1");
  CObjElement* date = Named("system date-1");
  Command(cmd::ID_NEXT_RECORD);
  Command(cmd::ID_NEXT_RECORD);
  EXPECT_EQ(text->GetObjectAs<CObjText>()->GetText(), "ROW3-C");
  OpenPage("Name");
  TypeIntoPage("edit1000", "renamed");
  EXPECT_EQ(date->name, "renamed");
  EXPECT_EQ(text->name, "text-1");

  ClickRow(RowOf(text));
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"text-1"});
  ExpectPagesShow(text);
}

// With "Scan input barcode" checked, a scanned text stays selected once the
// code took it, so the next scan replaces it.
TEST_F(SelectionPagesTest, ASecondScanReplacesTheFirst) {
  CObjElement* element = ScanningBarcode();
  ASSERT_NE(element, nullptr);
  auto* code = element->GetObjectAs<CObjBarCode>();
  Scan("AB12");
  auto* field = FrontControl<QLineEdit>("edit1032");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(code->Code().fixedText, "AB12");
  EXPECT_EQ(field->selectedText(), QString("AB12"));
  Scan("CD34");
  EXPECT_EQ(field->text(), QString("CD34"));
  EXPECT_EQ(code->Code().fixedText, "CD34");
}

// The mark order dialog's up and down buttons move the chosen row and its
// object only; OK gives the document that order.
TEST_F(LayoutWindowTest, MarkOrderButtonsMoveTheChosenRowAndOkReorders) {
  StartWithNewLayout();
  DrawThree();
  auto names = [this] {
    std::vector<std::string> out;
    for (int i = 1; i < Count(); ++i) out.push_back(Doc().Objects().GetAt(i)->name);
    return out;
  };
  const std::vector<std::string> drawn = names();
  ASSERT_EQ(drawn.size(), 3u);
  AnswerNextDialog([&drawn](QDialog& d) {
    auto* list = d.findChild<QListWidget*>("list1142");
    auto* up = d.findChild<QPushButton*>("button1143");
    auto* down = d.findChild<QPushButton*>("button1144");
    ASSERT_TRUE(list != nullptr && up != nullptr && down != nullptr);
    auto rows = [list] {
      std::vector<std::string> out;
      for (int row = 1; row < list->count(); ++row) out.push_back(list->item(row)->text().toStdString());
      return out;
    };
    EXPECT_EQ(rows(), drawn);
    list->setCurrentRow(3);
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(rows(), (std::vector<std::string>{drawn[2], drawn[0], drawn[1]}));
    EXPECT_EQ(list->currentRow(), 1);
    QTest::mouseClick(up, Qt::LeftButton);  // the parameter record stays first
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), kParameterRecordName);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(rows(), (std::vector<std::string>{drawn[0], drawn[2], drawn[1]}));
    EXPECT_EQ(list->currentRow(), 2);
  });
  Command(cmd::ID_CHANGE_MARK_ORDER);
  ASSERT_EQ(DialogsAnswered(), 1);
  EXPECT_EQ(names(), (std::vector<std::string>{drawn[0], drawn[2], drawn[1]}));
}

TEST_F(LayoutWindowTest, SeveralEntriesSelectedInTheListAreTheLayoutsSelection) {
  StartWithNewLayout();
  DrawThree();
  ClickRow(RowOf(Named("arc-1")));
  ClickRow(RowOf(Named("line-1")), Qt::ControlModifier);
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"arc-1", "line-1"}));

  // The list's Delete removes exactly those two.
  ChooseFromRowMenu(RowOf(Named("line-1")), Qt::Key_D);
  ASSERT_EQ(Count(), 2);
  EXPECT_NE(Named("rectangle-1"), nullptr);
}

// Objects chosen apart from each other in the list: "Permit mark" turns
// exactly those off, and Delete takes exactly those out, the one between
// keeping its place and its row.
TEST_F(LayoutWindowTest, ObjectsChosenApartArePermittedAndDeletedAlone) {
  StartWithNewLayout();
  DrawThree();
  CObjElement* arc = Named("arc-1");
  CObjElement* line = Named("line-1");
  CObjElement* rectangle = Named("rectangle-1");
  ASSERT_EQ(Doc().Objects().GetAt(2), line) << "the line lies between the other two";
  ClickRow(RowOf(arc));
  ClickRow(RowOf(rectangle), Qt::ControlModifier);
  ASSERT_EQ(SelectedNames(), (std::vector<std::string>{"arc-1", "rectangle-1"}));
  Command(cmd::ID_PERMIT_MARK);
  EXPECT_FALSE(arc->IsMarkEnabled());
  EXPECT_TRUE(line->IsMarkEnabled());
  EXPECT_FALSE(rectangle->IsMarkEnabled());
  Key(Qt::Key_Delete);
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Doc().Objects().GetAt(1), line);
  std::vector<std::string> rows;
  for (int row = 0; row < List()->GetCount(); ++row) rows.push_back(RowText(row));
  EXPECT_EQ(rows, (std::vector<std::string>{kParameterRecordName, "line-1"}));
}

TEST_F(LayoutWindowTest, SelectingInTheListBringsTheTrackingNeedleToTheObject) {
  StartWithNewLayout();
  DrawThree();
  CMarkControlWnd* control = app_->MainFrame()->MarkControl();
  control->atWorkPosition = 1;  // the head stands at its work position
  Command(ID_SELECTED_TRACKING);
  ASSERT_TRUE(Action(ID_SELECTED_TRACKING)->isChecked());
  CObjElement* line = Named("line-1");
  ClickRow(RowOf(line));
  // The needle goes to the left end of the line's middle.
  EXPECT_NEAR(control->workPosition.x, line->GetBoundRect().left, 1e-6);
  EXPECT_NEAR(control->workPosition.y, line->GetBoundRect().CenterY(), 1e-6);
  control->atWorkPosition = 0;
}

TEST_F(LayoutWindowTest, CombiningDotImagesInTheListGivesADotImageAndAnyMixADrawing) {
  StartWithNewLayout();
  Command(cmd::ID_ADD_POINT);
  Click(Px(0, 0));
  Command(cmd::ID_ADD_POINT);
  Click(Px(5, 5));
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-20, -10), Px(-10, -10));
  ASSERT_EQ(Count(), 4);
  ClickRow(RowOf(Named("Dot image-1")));
  ClickRow(RowOf(Named("Dot image-2")), Qt::ControlModifier);
  ChooseFromRowMenu(RowOf(Named("Dot image-2")), Qt::Key_C);
  ASSERT_EQ(Count(), 3);
  CObjElement* dots = Doc().Objects().GetAt(2);
  ASSERT_EQ(dots->type, OBJ_DOTIMAGE);
  EXPECT_EQ(dots->GetObjectAs<CObjDotCollect>()->GetDotCount(), 2);
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{dots->name});

  ClickRow(RowOf(dots));
  ClickRow(RowOf(Named("line-1")), Qt::ControlModifier);
  ChooseFromRowMenu(RowOf(Named("line-1")), Qt::Key_C);
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Doc().Objects().GetAt(1)->type, OBJ_HPGL);
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{Doc().Objects().GetAt(1)->name});
}

// A filled 10 mm square whose corner is moved 5 m up on the polyline page:
// its fill would need more scan lines than one fill may have. The fill is
// left out and the operator told, as when the fill spacing is changed.
TEST_F(LayoutWindowTest, AVertexMovedSoTheFillIsTooBigToMarkTellsTheOperator) {
  CPointList outline;
  for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}})
    outline.Add(CDoublePoint(x, y, outline.GetSize() == 0 ? 0 : PT_JOINED));
  CObjPtrArray written;
  auto square = std::make_unique<CObjElement>(
      CObjCreateRecord{"square", OBJ_POLYLINE, new CObjPolyLine(outline, 1, 0), sizeof(CObjPolyLine), {}});
  square->SetFillOn(1);
  square->fillSpacing = 0.03f;
  written.Add(std::move(square));
  const std::string path = folder_ + "/square.mrk";
  ASSERT_EQ(WriteMrkFile(path, written), 1);
  StartWithNewLayout({QString::fromStdString(path)});
  CObjElement* element = Named("square");
  ASSERT_NE(element, nullptr);
  ASSERT_GT(element->GetPath()->GetGroupAt(0)->GetFillList().GetSize(), 0);
  ClickRow(RowOf(element));
  OpenPage("Polyline");
  TypeIntoPage("edit1016", "3");
  TypeIntoPage("edit1015", "5000");
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"The fill of \"square\" needs more strokes than can be "
                                                       "marked and is left out: choose a wider fill spacing."});
  EXPECT_NEAR(element->GetPath()->points[2].y, 5000, 1e-9);
  EXPECT_EQ(element->GetPath()->GetGroupAt(0)->GetFillList().GetSize(), 0);
}

TEST_F(LayoutWindowTest, RenamedObjectShowsItsNewNameInTheList) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, 0), Px(5, 0));
  Click(Px(0, 0));
  ASSERT_EQ(SelectedNames(), std::vector<std::string>{"line-1"});
  OpenPage("Name");
  TypeIntoPage("edit1000", "gear");
  ASSERT_EQ(Doc().Objects().GetAt(1)->name, "gear");
  const int row = RowOf(Doc().Objects().GetAt(1));
  ASSERT_GT(row, 0);
  EXPECT_EQ(RowText(row), "gear");
  EXPECT_EQ(List()->GetSelectedIndexes(), std::vector<int>{row});
  // The list names the next line after the names it now holds.
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, 10), Px(5, 10));
  EXPECT_NE(Named("line-1"), nullptr);
}

TEST_F(LayoutWindowTest, LocalZoomToolZoomsIntoTheDraggedFrame) {
  StartWithNewLayout();
  const float before = Model().m_zoom;
  Command(ID_LOCAL_ZOOM);
  EXPECT_TRUE(Action(ID_LOCAL_ZOOM)->isChecked());
  const QPoint a = Px(-10, 10);
  const QPoint b = Px(10, -10);
  MoveTo(a);
  Press(a);
  Release(a);
  MoveTo(b);
  Press(b);
  Release(b);
  Settle();
  // The frame fills the view along its tighter side.
  const double grow = std::min(View()->ClientWidth() * static_cast<double>(before) / (b.x() - a.x()),
                               View()->ClientHeight() * static_cast<double>(before) / (b.y() - a.y()));
  EXPECT_NEAR(Model().m_zoom, before + grow, 0.05);
  EXPECT_EQ(Count(), 1) << "the frame makes no object";
  EXPECT_EQ(Model().m_toolCode, 0);
  EXPECT_FALSE(Action(ID_LOCAL_ZOOM)->isChecked());
}

// Each way of taking objects out, given while a job holds them, and again
// once it ended.
class BusyLayoutTest;
struct RemovalPath {
  const char* name;
  void (*remove)(BusyLayoutTest&);
  int countAfter;  // of the four elements, once no job runs
  const char* alsoSelected = nullptr;  // selected with line-1 in the list
};

void PrintTo(const RemovalPath& path, std::ostream* out) { *out << path.name; }

class BusyLayoutTest : public LayoutWindowTest, public ::testing::WithParamInterface<RemovalPath> {
 public:
  using LayoutWindowTest::ChooseFromRowMenu;
  using LayoutWindowTest::Command;
  using LayoutWindowTest::Named;
  using LayoutWindowTest::RowOf;
};

TEST_P(BusyLayoutTest, RemovingWaitsWhileAJobHoldsTheObjects) {
  StartWithNewLayout();
  DrawThree();
  ClickRow(RowOf(Named("line-1")));
  if (GetParam().alsoSelected != nullptr) ClickRow(RowOf(Named(GetParam().alsoSelected)), Qt::ControlModifier);
  ASSERT_EQ(Model().m_selection.size(), GetParam().alsoSelected != nullptr ? 2u : 1u);
  MarkStatusWord = MSW_MARKING;  // the controller's job holds the elements
  GetParam().remove(*this);
  EXPECT_EQ(Count(), 4);
  EXPECT_NE(Named("line-1"), nullptr);
  if (GetParam().alsoSelected != nullptr) {
    EXPECT_NE(Named(GetParam().alsoSelected), nullptr);
  }
  MarkStatusWord = 0;
  GetParam().remove(*this);
  EXPECT_EQ(Count(), GetParam().countAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BusyLayoutTest,
    ::testing::Values(RemovalPath{"Cut", [](BusyLayoutTest& t) { t.Command(ID_EDIT_CUT); }, 3},
                      RemovalPath{"ClearAll", [](BusyLayoutTest& t) { t.Command(ID_CLEAR_ALL); }, 1},
                      RemovalPath{"ListDelete",
                                  [](BusyLayoutTest& t) { t.ChooseFromRowMenu(t.RowOf(t.Named("line-1")), Qt::Key_D); },
                                  3},
                      RemovalPath{"ListCombine",
                                  [](BusyLayoutTest& t) { t.ChooseFromRowMenu(t.RowOf(t.Named("line-1")), Qt::Key_C); },
                                  3, "rectangle-1"}),
    [](const ::testing::TestParamInfo<RemovalPath>& info) { return std::string(info.param.name); });

TEST_F(LayoutWindowTest, ExitWithAChangedLayoutAsksFirst) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, 0), Px(5, 0));
  prompt_->QueueAnswer(IDCANCEL);
  Command(cmd::ID_APP_EXIT);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kSaveQuestion});
  EXPECT_TRUE(app_->MainFrame()->isVisible()) << "Cancel keeps the program and the layout";
  EXPECT_EQ(Count(), 2);
  prompt_->QueueAnswer(IDNO);
  Command(cmd::ID_APP_EXIT);
  EXPECT_EQ(prompt_->Texts().size(), 2u);
  EXPECT_FALSE(app_->MainFrame()->isVisible());
}

TEST_F(LayoutWindowTest, ClosingAChangedLayoutWindowAsksFirst) {
  StartWithNewLayout();
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, 0), Px(5, 0));
  prompt_->QueueAnswer(IDCANCEL);
  Child()->close();
  Settle();
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kSaveQuestion});
  ASSERT_EQ(app_->MainFrame()->MdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(Count(), 2);
  prompt_->QueueAnswer(IDNO);
  Child()->close();
  Settle();
  EXPECT_TRUE(app_->MainFrame()->MdiArea()->subWindowList().isEmpty());
}

TEST_F(LayoutWindowTest, ExitWithAnUnchangedLayoutAsksNothing) {
  StartWithNewLayout();
  Command(cmd::ID_APP_EXIT);
  EXPECT_TRUE(prompt_->Texts().empty());
  EXPECT_FALSE(app_->MainFrame()->isVisible());
}

TEST_F(LayoutWindowTest, RecentFileOverAChangedLayoutAsksFirst) {
  const std::string a = CopyLayoutFixture("a.mrk");
  StartWithNewLayout({QString::fromStdString(a)});
  const int fileCount = Count();
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, 0), Px(5, 0));
  ASSERT_EQ(Count(), fileCount + 1);
  prompt_->QueueAnswer(IDCANCEL);
  Command(cmd::ID_FILE_MRU_FILE1);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{kSaveQuestion});
  EXPECT_EQ(Count(), fileCount + 1) << "Cancel keeps the drawn line";
  prompt_->QueueAnswer(IDNO);
  Command(cmd::ID_FILE_MRU_FILE1);
  EXPECT_EQ(Count(), fileCount);
  EXPECT_EQ(Doc().GetPathName(), a);
  EXPECT_EQ(app_->MainFrame()->MdiArea()->subWindowList().size(), 1);
}

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// How the layout window came to hold another project after an edit.
enum class OtherProject { OpenCommand, RecentFile, NewCommand };

class UndoAfterOpenTest : public LayoutWindowTest, public ::testing::WithParamInterface<OtherProject> {
 protected:
  void SetUp() override {
    LayoutWindowTest::SetUp();
    platform::SetFileDialog(files_);
  }
  void TearDown() override {
    LayoutWindowTest::TearDown();
    platform::SetFileDialog(nullptr);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const CObjElement* element : Doc().Objects()) names.push_back(element->name);
    return names;
  }
  bool Enabled(int id) {
    app_->MainFrame()->UpdateCommandUI();
    return Action(id)->isEnabled();
  }

  std::shared_ptr<platform::ScriptedFileDialog> files_ = std::make_shared<platform::ScriptedFileDialog>();
};

}  // namespace

// a.mrk opened and changed, then another project in the same window (the
// change dropped at the question): Undo and Redo are off, Ctrl+Z brings
// nothing of a.mrk back, Ctrl+S writes the open project as it is and a.mrk
// stays as it was on disk. Undo of a change to the new project goes back to
// it as opened, and no further.
TEST_P(UndoAfterOpenTest, UndoNeverReachesBackIntoTheProjectBefore) {
  StartWithNewLayout();
  DrawThree();
  const std::string b = folder_ + "/b.mrk";
  files_->QueuePath(b);
  Command(cmd::ID_FILE_SAVE);
  ASSERT_EQ(Doc().GetPathName(), b);
  const std::string bOnDisk = ReadAll(b);
  const std::string a = CopyLayoutFixture("a.mrk");
  const std::string aOnDisk = ReadAll(a);
  files_->QueuePath(a);
  Command(cmd::ID_FILE_OPEN);
  ASSERT_EQ(Doc().GetPathName(), a);
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, 20), Px(5, 20));
  ASSERT_TRUE(Enabled(cmd::ID_EDIT_UNDO));

  prompt_->QueueAnswer(IDNO);
  switch (GetParam()) {
    case OtherProject::OpenCommand:
      files_->QueuePath(b);
      Key(Qt::Key_O, Qt::ControlModifier);
      break;
    case OtherProject::RecentFile:
      ASSERT_EQ(app_->RecentFiles().Entries(), (std::vector<std::string>{a, b}));
      Command(cmd::ID_FILE_MRU_FILE1 + 1);
      break;
    case OtherProject::NewCommand:
      Command(cmd::ID_FILE_NEW);
      break;
  }
  ASSERT_EQ(prompt_->Texts(), std::vector<std::string>{kSaveQuestion});
  const bool opened = GetParam() != OtherProject::NewCommand;
  ASSERT_EQ(Doc().GetPathName(), opened ? b : "");
  const std::vector<std::string> asOpened = Names();
  EXPECT_FALSE(Enabled(cmd::ID_EDIT_UNDO));
  EXPECT_FALSE(Enabled(cmd::ID_EDIT_REDO));
  for (int n = 0; n < CVendrikViewModel::kHistorySlots; ++n)
    EXPECT_FALSE(std::filesystem::exists(Model().HistoryFilePath(n))) << "snapshot " << n << " of a.mrk";
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Names(), asOpened);
  if (opened) {
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadAll(b), bOnDisk);
  }
  EXPECT_EQ(ReadAll(a), aOnDisk);

  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, 25), Px(5, 25));
  ASSERT_EQ(Names().size(), asOpened.size() + 1);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Names(), asOpened);
  EXPECT_FALSE(Enabled(cmd::ID_EDIT_UNDO));
  EXPECT_EQ(Doc().GetPathName(), opened ? b : "") << "Save still writes the open project's file";
  EXPECT_EQ(ReadAll(a), aOnDisk);
}

INSTANTIATE_TEST_SUITE_P(Projects, UndoAfterOpenTest,
                         ::testing::Values(OtherProject::OpenCommand, OtherProject::RecentFile,
                                           OtherProject::NewCommand),
                         [](const auto& info) {
                           switch (info.param) {
                             case OtherProject::OpenCommand: return "OpenCommand";
                             case OtherProject::RecentFile: return "RecentFile";
                             default: return "NewCommand";
                           }
                         });

// The snapshot folder is the program's: a change in a second layout window
// writes its own snapshots there. Undo in the first window then has none of
// its own left, and never brings the second window's objects in.
TEST_F(UndoAfterOpenTest, UndoNeverTakesAnotherLayoutWindowsSnapshots) {
  StartWithNewLayout();
  DrawThree();
  CChildFrame* first = Child();
  const std::vector<std::string> drawn = Names();
  ASSERT_TRUE(Enabled(cmd::ID_EDIT_UNDO));
  Command(cmd::ID_NEW_LAYOUT);
  ASSERT_NE(Child(), first);
  View()->setFocus();
  // As many changes as the first window made: its newest snapshots are
  // overwritten.
  for (double y : {20.0, 25.0, 30.0}) DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, y), Px(5, y));
  ASSERT_TRUE(Enabled(cmd::ID_EDIT_UNDO));
  app_->MainFrame()->MdiArea()->setActiveSubWindow(first);
  Settle();
  ASSERT_EQ(Child(), first);
  View()->setFocus();
  EXPECT_FALSE(Enabled(cmd::ID_EDIT_UNDO));
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Names(), drawn);
}

TEST_F(LayoutWindowTest, ToolCheckMarksFollowTheStateWithoutAMenuOpening) {
  StartWithNewLayout();
  Command(cmd::ID_ADD_POLYLINE);
  EXPECT_TRUE(Action(cmd::ID_ADD_POLYLINE)->isChecked());
  for (const QPoint at : {Px(0, 0), Px(10, 0), Px(10, 10)}) {
    MoveTo(at);
    Press(at);
    Release(at);
  }
  RightClick(Px(0, 10));
  ASSERT_EQ(Count(), 2) << "the right button finished the polyline";
  EXPECT_FALSE(Action(cmd::ID_ADD_POLYLINE)->isChecked());
  EXPECT_TRUE(Action(cmd::ID_SELECT_NONE)->isChecked());

  Command(cmd::ID_ORIGIN_BY_HAND);
  ASSERT_TRUE(Action(cmd::ID_ORIGIN_BY_HAND)->isChecked());
  CJogPositionDlg* jog = View()->findChild<CJogPositionDlg*>();
  ASSERT_NE(jog, nullptr);
  auto* close = jog->findChild<QPushButton*>("closeButton");
  ASSERT_NE(close, nullptr);
  QTest::mouseClick(close, Qt::LeftButton);
  Settle();
  EXPECT_FALSE(Action(cmd::ID_ORIGIN_BY_HAND)->isChecked());
}
