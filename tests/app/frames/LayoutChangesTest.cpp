// What the operator changes in the layout through the real window is what
// the layout holds: every edit that moves, turns, takes away or reorders
// objects counts as a change that File > New asks about, and showing an
// object's pages never changes the object, nor does typing into a locked
// machine parameter. Also the commands' dialogs and messages around it: the
// dithering values, a plot file that holds no drawing, a dot export that
// cannot be written, the marking time pane.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/core/StatusTexts.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "platform/FileDialog.h"
#include "properties/link/CProperityView.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/app/frames/LayoutWindowFixture.h"
#include "text/exchange/hpgl/PltImport.h"
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
constexpr int ID_ALIGN_LEFT = 32805;
constexpr int ID_ALIGN_RIGHT = 32806;
constexpr int ID_ALIGN_TOP = 32807;
constexpr int ID_ALIGN_BOTTOM = 32808;
constexpr int ID_OFFSET = 32856;
constexpr int ID_CHANGE_MARK_ORDER = 32835;
constexpr int ID_IMPORT_FILE = 32782;
constexpr char kSaveQuestion[] = "Mark data is repared !,Save data?";
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
        LayoutEdit{"MirrorX", [](LayoutEditTest& t) { t.Command(ID_MIRROR_X); }},
        LayoutEdit{"MouseResize", DragCornerHandle}),
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
