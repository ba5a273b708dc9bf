// Jobs on the simulated board, started as the operator starts them (the Mark
// menu's "Start mark(S)" on the main frame, or Enter in the layout): the
// status bar's two progress bars move while a job runs and give their panes
// back at its end, the commands and "Finish/Total" follow each job without
// any input, the marking display draws what was marked, and every pass is
// recorded in the marking records that "Look database information" lists.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QMetaObject>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/core/StatusTexts.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/ControllerMessages.h"
#include "marking/records/MarkRecords.h"
#include "marking/widgets/CColorProgressCtrl.h"
#include "platform/Clock.h"
#include "platform_qt/PictureDeviceContext.h"
#include "platform_qt/QtPumpHook.h"
#include "properties/link/CProperityView.h"
#include "tests/app/frames/LayoutWindowFixture.h"
#include "text/objects/CObjText.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"
#include "values/ShellValues.h"

namespace {

// Every paint of a progress bar, with the position it shows: what the
// operator sees move, sampled by the paints themselves.
class BarPaintLog : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      if (auto* bar = dynamic_cast<CColorProgressCtrl*>(watched)) {
        const int id = bar->property("controlId").toInt();
        positions[id].push_back(bar->GetPos());
        widths[id].push_back(bar->LastBarWidth());
      }
    }
    return false;
  }
  std::map<int, std::vector<int>> positions;
  std::map<int, std::vector<int>> widths;
};

// Runs an action once, on the user-interface thread's next turn after the
// first paint of a progress bar (while the job runs).
class FirstBarPaint : public QObject {
 public:
  explicit FirstBarPaint(std::function<void()> action) : action_(std::move(action)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!fired && event->type() == QEvent::Paint && dynamic_cast<CColorProgressCtrl*>(watched) != nullptr) {
      fired = true;
      QMetaObject::invokeMethod(this, action_, Qt::QueuedConnection);
    }
    return false;
  }
  bool fired = false;

 private:
  std::function<void()> action_;
};

int ProgressBarsIn(QLabel* pane) { return static_cast<int>(pane->findChildren<CColorProgressCtrl*>().size()); }

// What the first event handled after a job's end finds: the job's end is
// handled as its message arrives, so nothing may wait for further events
// (a deferred delete, an update at the next input).
class EndOfJobProbe : public QObject {
 public:
  explicit EndOfJobProbe(CMainFrame* frame) : frame_(frame) {}
  bool eventFilter(QObject*, QEvent*) override {
    if (seen || frame_->MarkControl()->EndMarkingCalls() < 1 || (MarkStatusWord.load() & MSW_MARKING) != 0) return false;
    seen = true;
    bars = ProgressBarsIn(frame_->Pane(ID_PANE_PROGRESS_TOTAL)) + ProgressBarsIn(frame_->Pane(ID_PANE_PROGRESS_LOCAL));
    startPressed = frame_->Action(cmd::ID_START_MARK)->isChecked();
    return false;
  }
  bool seen = false;
  int bars = -1;
  bool startPressed = true;

 private:
  CMainFrame* frame_;
};

class MarkProgressTest : public LayoutWindowTest {
 protected:
  void SetUp() override {
    FramesTest::SetUp();
    // As the program does: waits on the user-interface thread (the head's
    // return at the job's end) keep handling events.
    platform_qt::InstallQtPumpHook();
    ASSERT_TRUE(runner_.Start()) << runner_.LastError();
    // The USB board, found as the configured device.
    ASSERT_TRUE(WriteSoftTypeFile(ZephyneFilePath(folder_), SOFT_TYPE_USB));
    ::setenv("VENDRIK_SERIAL_DEVICE", runner_.DevicePath().c_str(), 1);
    MarkStatusWord = 0;
  }
  void TearDown() override {
    PumpQtUntil([] { return (MarkStatusWord.load() & MSW_MARKING) == 0; });
    LayoutWindowTest::TearDown();
    ::unsetenv("VENDRIK_SERIAL_DEVICE");
    runner_.Stop();
    platform::SetPumpHook(nullptr);
    MarkStatusWord = 0;
    g_softType = 0;
  }

  CChildFrame* StartWithLayout() {
    if (!Start()) return nullptr;
    CChildFrame* child = app_->MainFrame()->ActiveChildFrame();
    if (child == nullptr) return nullptr;
    CProperityView* link = child->PropertyPane()->View();
    if (!PumpQtUntil([link] { return link->GetProtocolVariant() >= 0; })) return nullptr;
    CVendrikDoc& doc = *child->Document();
    doc.Objects().GetAt(0)->GetObjectAs<CDrawProperity>()->SetContinuousCount(5);
    AddElement(doc, OBJ_LINE, new CObjLine(CDoublePoint(-30, 30, 0), CDoublePoint(-10, 30, 1)), sizeof(CObjLine));
    CPointList points;
    for (const CDoublePoint& p : {CDoublePoint(0, 20, 0), CDoublePoint(20, 20, 1), CDoublePoint(20, 0, 1)})
      points.Add(p);
    AddElement(doc, OBJ_POLYLINE, new CObjPolyLine(points, 0, 0), sizeof(CObjPolyLine));
    return child;
  }
  static void AddElement(CVendrikDoc& doc, int type, CObjBase* object, std::size_t size) {
    auto element = std::make_unique<CObjElement>(CObjCreateRecord{"", type, object, static_cast<int>(size), {}});
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    doc.Objects().Add(std::move(element));
  }
  // "Start mark(S)" from the Mark menu, then the job's end.
  bool MarkFromTheMenu() {
    CMainFrame* frame = app_->MainFrame();
    const int ends = frame->MarkControl()->EndMarkingCalls();
    frame->UpdateCommandUI();
    QAction* start = frame->Action(cmd::ID_START_MARK);
    if (!start->isEnabled()) return false;
    start->trigger();
    return UntilJobEnds(ends);
  }
  bool UntilJobEnds(int endsBefore) {
    CMainFrame* frame = app_->MainFrame();
    return PumpQtUntil([frame, endsBefore] {
      return frame->MarkControl()->EndMarkingCalls() > endsBefore && (MarkStatusWord.load() & MSW_MARKING) == 0;
    });
  }
  int BoardCount(const std::string& command) const {
    const auto c = board_.Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), command));
  }
  // "Look database information", all records: the count it shows and its rows.
  QString LookUpAllRecords(std::vector<std::vector<std::string>>* rows = nullptr) {
    QString shown;
    AnswerNextDialog([&](QDialog& dialog) {
      auto* all = dialog.findChild<QAbstractButton*>("mode3");
      auto* query = dialog.findChild<QAbstractButton*>("queryButton");
      auto* count = dialog.findChild<QLabel*>("recordCount");
      auto* list = dialog.findChild<QTreeWidget*>("resultList");
      if (all == nullptr || query == nullptr || count == nullptr || list == nullptr) return;
      QTest::mouseClick(all, Qt::LeftButton);
      QTest::mouseClick(query, Qt::LeftButton);
      shown = count->text();
      for (int i = 0; rows != nullptr && i < list->topLevelItemCount(); ++i) {
        std::vector<std::string> row;
        for (int c = 0; c < list->columnCount(); ++c) row.push_back(list->topLevelItem(i)->text(c).toStdString());
        rows->push_back(row);
      }
    });
    Command(cmd::ID_LOOK_DATABASE);
    return shown;
  }

  boardsim::BoardSimulator board_{boardsim::BoardConfig{boardsim::Variant::Plain}};
  boardsim::BoardSimRunner runner_{board_};
};

}  // namespace

TEST_F(MarkProgressTest, StatusBarBarsMoveDuringAFivePassJobAndGiveTheirPanesBack) {
  CChildFrame* child = StartWithLayout();
  ASSERT_NE(child, nullptr);
  CMainFrame* frame = app_->MainFrame();
  BarPaintLog log;
  qApp->installEventFilter(&log);
  ASSERT_TRUE(MarkFromTheMenu());
  qApp->removeEventFilter(&log);
  EXPECT_EQ(board_.Moves().empty(), false);

  for (int id : {IDC_PROGRESS_TOTAL, IDC_PROGRESS_LOCAL}) {
    SCOPED_TRACE(id);
    const std::vector<int>& shown = log.positions[id];
    ASSERT_FALSE(shown.empty()) << "the bar was never drawn";
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](int p) { return p > 0 && p < 100; }))
        << "no position between the ends was shown";
    EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), 100);
    const std::vector<int>& widths = log.widths[id];
    EXPECT_GT(*std::max_element(widths.begin(), widths.end()), 20) << "the bar must fill its pane";
  }
  // Each of the five passes shows its progress from the start again, and the
  // per-object bar starts again for the objects of each pass.
  auto restarts = [](const std::vector<int>& shown) {
    int n = 0;
    for (std::size_t i = 1; i < shown.size(); ++i) n += shown[i] < shown[i - 1] ? 1 : 0;
    return n;
  };
  EXPECT_GE(restarts(log.positions[IDC_PROGRESS_TOTAL]), 4);
  EXPECT_GE(restarts(log.positions[IDC_PROGRESS_LOCAL]), 5);

  PumpQtUntil([&] {
    return ProgressBarsIn(frame->Pane(ID_PANE_PROGRESS_TOTAL)) == 0 &&
           ProgressBarsIn(frame->Pane(ID_PANE_PROGRESS_LOCAL)) == 0;
  });
  EXPECT_EQ(ProgressBarsIn(frame->Pane(ID_PANE_PROGRESS_TOTAL)), 0);
  EXPECT_EQ(ProgressBarsIn(frame->Pane(ID_PANE_PROGRESS_LOCAL)), 0);
  EXPECT_EQ(frame->PaneText(ID_PANE_PROGRESS_TOTAL), QString("Mark progress(total)...  "));
  EXPECT_EQ(frame->PaneText(ID_PANE_PROGRESS_LOCAL), QString("Mark progress(local)... "));
  EXPECT_EQ(frame->PaneText(ID_PANE_MARK_COUNT), QString::fromUtf8("5/5次"));
}

TEST_F(MarkProgressTest, MarkingDisplayDrawsTheMarkedLayout) {
  CChildFrame* child = StartWithLayout();
  ASSERT_NE(child, nullptr);
  CMainFrame* frame = app_->MainFrame();
  frame->UpdateCommandUI();
  QAction* open = frame->Action(cmd::ID_OPEN_MARK_WINDOW);
  open->trigger();
  ASSERT_TRUE(open->isChecked());
  ASSERT_TRUE(MarkFromTheMenu());

  CDisMarkFrame* display = child->DisplayFrame();
  ASSERT_NE(display, nullptr);
  EXPECT_FALSE(display->isVisible()) << "hidden again at the job's end";
  ASSERT_NE(display->FormView()->Picture(), nullptr);
  const QImage picture = display->FormView()->Picture()->Image();
  ASSERT_FALSE(picture.isNull());
  const int w = picture.width();
  const int h = picture.height();
  ASSERT_GT(w, 10);
  ASSERT_GT(h, 10);

  // The job's bounds (-30..20 by 0..30 mm) fill the display less 10 pixels,
  // centred; the test screen has 4 pixels a millimetre.
  const double scale = std::min((w - 10) / (50.0 * PixelsPerMmX), (h - 10) / (30.0 * PixelsPerMmY));
  auto pixel = [&](double x, double y) {
    return QPoint(w / 2 + static_cast<int>(scale * PixelsPerMmX * (x + 5)),
                  h / 2 - static_cast<int>(scale * PixelsPerMmY * (y - 15)));
  };
  const QColor pen(0, 255, 100);
  auto penNear = [&](QPoint p) {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (picture.valid(p.x() + dx, p.y() + dy) && picture.pixelColor(p.x() + dx, p.y() + dy) == pen) return true;
    return false;
  };
  const std::pair<double, double> marked[] = {{-30, 30}, {-20, 30}, {-10, 30}, {0, 20}, {10, 20}, {20, 20}, {20, 10}, {20, 0}};
  for (const auto& [x, y] : marked) EXPECT_TRUE(penNear(pixel(x, y))) << x << "," << y;
  // Between the strokes nothing was marked.
  for (const auto& [x, y] : {std::pair{-20.0, 10.0}, {10.0, 10.0}, {-5.0, 25.0}})
    EXPECT_EQ(picture.pixelColor(pixel(x, y)), QColor(Qt::white)) << x << "," << y;

  // Shown again, the display shows the picture.
  display->show();
  const QImage shown = display->FormView()->grab().toImage();
  EXPECT_EQ(shown.pixelColor(pixel(-20, 30)), picture.pixelColor(pixel(-20, 30)));
  EXPECT_EQ(shown.pixelColor(pixel(20, 10)), picture.pixelColor(pixel(20, 10)));
}

TEST_F(MarkProgressTest, DisplayClosedByHandInMidJobLeavesTheJobToFinish) {
  CChildFrame* child = StartWithLayout();
  ASSERT_NE(child, nullptr);
  CMainFrame* frame = app_->MainFrame();
  frame->Action(cmd::ID_OPEN_MARK_WINDOW)->trigger();
  // The operator closes the display as soon as the first progress shows.
  QPointer<CDisMarkFrame> closed;
  FirstBarPaint closer([&] {
    closed = child->DisplayFrame();
    if (closed) closed->close();
  });
  qApp->installEventFilter(&closer);
  ASSERT_TRUE(MarkFromTheMenu());
  qApp->removeEventFilter(&closer);
  EXPECT_TRUE(closer.fired);
  EXPECT_TRUE(closed.isNull()) << "the closed display is gone";
  EXPECT_EQ(frame->PaneText(ID_PANE_MARK_COUNT), QString::fromUtf8("5/5次"));
}

// After a job its end is handled at once: "Start mark(S)" is released and
// the progress bars are gone before any other event. The next job, started
// with Enter, shows "Start mark(S)" pressed as the key is handled, and its
// first pass shows none of its passes finished yet.
TEST_F(MarkProgressTest, CommandsBarsAndCountFollowEachJobWithoutInput) {
  ASSERT_NE(StartWithLayout(), nullptr);
  CMainFrame* frame = app_->MainFrame();
  EndOfJobProbe probe(frame);
  qApp->installEventFilter(&probe);
  ASSERT_TRUE(MarkFromTheMenu());
  qApp->removeEventFilter(&probe);
  ASSERT_TRUE(probe.seen);
  EXPECT_FALSE(probe.startPressed) << "released at the job's end";
  EXPECT_EQ(probe.bars, 0) << "the bars leave their panes at the job's end";
  EXPECT_EQ(frame->PaneText(ID_PANE_MARK_COUNT), QString::fromUtf8("5/5次"));

  QString countAtFirstObject;
  View()->SetMessageHandler([&](const platform::Message& m) {
    if (m.msg == WM_MARK_OBJECT_DONE && countAtFirstObject.isEmpty())
      countAtFirstObject = frame->PaneText(ID_PANE_MARK_COUNT);
  });
  const int ends = frame->MarkControl()->EndMarkingCalls();
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Return);
  EXPECT_TRUE(Action(cmd::ID_START_MARK)->isChecked()) << "pressed as Enter starts the job";
  ASSERT_TRUE(UntilJobEnds(ends));
  View()->SetMessageHandler(nullptr);
  EXPECT_EQ(countAtFirstObject, QString::fromUtf8("0/5次"));
  EXPECT_EQ(frame->PaneText(ID_PANE_MARK_COUNT), QString::fromUtf8("5/5次"));
}

// Every pass of a layout with a VIN, a serial number and a code is recorded
// (air on, the program's default), and listed by "Look database
// information". With "Check vin-code is marked?" on, the items about to be
// marked are looked up: new numbers mark on, a VIN typed again that was
// marked before stops the job at its question before any marking.
TEST_F(MarkProgressTest, EveryPassIsRecordedAndAMarkedVinStopsTheNextJob) {
  ASSERT_TRUE(Start());
  CProperityView* link = Child()->PropertyPane()->View();
  ASSERT_TRUE(PumpQtUntil([link] { return link->GetProtocolVariant() >= 0; }));
  QApplication::setActiveWindow(app_->MainFrame());
  Doc().Objects().GetAt(0)->GetObjectAs<CDrawProperity>()->SetContinuousCount(3);
  for (const auto& [tool, x, y] : {std::tuple{cmd::ID_ADD_VIN, -55.0, 30.0}, {cmd::ID_ADD_AUTO_TEXT, -55.0, -10.0},
                                   {cmd::ID_ADD_BARCODE, 20.0, -30.0}}) {
    Command(tool);
    Click(Px(x, y));
  }
  ASSERT_EQ(Count(), 4);
  CObjElement* vin = Doc().Objects().GetAt(1);
  CObjElement* serial = Doc().Objects().GetAt(2);
  CObjElement* code = Doc().Objects().GetAt(3);
  ASSERT_EQ(vin->type, OBJ_VIN);
  auto textOf = [](CObjElement* e) { return e->GetObjectAs<CObjText>()->GetText(); };
  const std::string firstVin = textOf(vin);
  const std::string firstSerial = textOf(serial);
  const std::string firstCode = textOf(code);
  EXPECT_EQ(LookUpAllRecords(), "0");
  EXPECT_TRUE(Action(cmd::ID_MARK_INFO_DATABASE)->isChecked());

  ASSERT_TRUE(MarkFromTheMenu());
  std::vector<std::vector<std::string>> rows;
  EXPECT_EQ(LookUpAllRecords(&rows), "3");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][1], firstVin);
  EXPECT_EQ(rows[0][3], firstSerial);
  EXPECT_EQ(rows[0][4], firstCode);
  EXPECT_NE(rows[1][1], firstVin) << "the VIN counted on after its pass";
  EXPECT_NE(textOf(vin), rows[2][1]);

  // With the check on, the numbers counted on since are not looked up as
  // the ones marked last: the next job runs without a question.
  Command(cmd::ID_CHECK_VIN_MARKED);
  EXPECT_TRUE(Action(cmd::ID_CHECK_VIN_MARKED)->isChecked());
  ASSERT_TRUE(MarkFromTheMenu());
  EXPECT_TRUE(prompt_->Texts().empty());
  EXPECT_EQ(LookUpAllRecords(), "6");

  // The second pass's number typed again.
  ClickRow(RowOf(vin));
  OpenPage("VIN code(seventeen chars)");
  TypeIntoPage("edit1103", QString::fromStdString(rows[1][1]));
  ASSERT_EQ(textOf(vin), rows[1][1]);
  const int begins = BoardCount("MM");
  prompt_->QueueAnswer(IDYES);
  ASSERT_TRUE(MarkFromTheMenu());
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{marking::kAlreadyMarkedQuestion});
  EXPECT_EQ(BoardCount("MM"), begins) << "nothing marked";
  EXPECT_EQ(LookUpAllRecords(), "6");
}
