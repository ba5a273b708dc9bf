// Jobs held in their waits on the simulated board, as the operator sets them
// up and runs them: "Continue times:" and "Continue interval:" on the
// parameter record's "Work style..." page, "Start mark(S)" from the Mark menu,
// the red countdown in the layout view during the wait between passes, and
// "Pause marking" from the tool bar in that wait, which asks whether to stop;
// and the stop keys pressed while a job waits out its start delay, wherever
// the focus was left.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/core/StatusTexts.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "platform/FileDialog.h"
#include "platform_qt/QtPumpHook.h"
#include "properties/link/CProperityView.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/app/frames/LayoutWindowFixture.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"
#include "values/ShellValues.h"

namespace {

// The process clock here: real time, except that a wait of a second or more
// (the job's countdown waits a second at a time) holds until the test lets it
// go, and then counts as waited at once. No test sleeps through the seconds.
class HeldClock : public platform::Clock {
 public:
  std::int64_t QueryCounter() override { return real_.QueryCounter() + offsetTicks_.load(); }
  std::int64_t CounterFrequency() override { return real_.CounterFrequency(); }
  void BusyWaitMicros(double micros) override {
    if (!(micros >= 1e6)) {
      real_.BusyWaitMicros(micros);
      return;
    }
    {
      std::unique_lock lock(mutex_);
      ++held_;
      ++waiting_;
      changed_.wait(lock, [this] { return released_ > 0 || open_; });
      if (released_ > 0) --released_;
      --waiting_;
    }
    offsetTicks_ += static_cast<std::int64_t>(micros / 1e6 * static_cast<double>(real_.CounterFrequency()));
  }
  void SleepMicros(double micros) override { real_.SleepMicros(micros); }
  // Held waits so far, and whether one holds now.
  int Held() const {
    std::lock_guard lock(mutex_);
    return held_;
  }
  bool Holding() const {
    std::lock_guard lock(mutex_);
    return waiting_ > 0;
  }
  void LetOneGo() {
    std::lock_guard lock(mutex_);
    ++released_;
    changed_.notify_all();
  }
  // From now on nothing is held.
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  platform::SteadyClock real_;
  std::atomic<std::int64_t> offsetTicks_{0};
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int held_ = 0;
  int waiting_ = 0;
  int released_ = 0;
  bool open_ = false;
};

std::string SecondsLeft(int n) { return "\xE5\x89\xA9 " + std::to_string(n) + " \xE7\xA7\x92"; }

// The answer to "Are you terminated marking-6" and what follows it.
struct StopAnswer {
  const char* name;
  int answer;
  QString finished;  // the status bar's count at the end
  int markBegins;    // pass blocks the board was given
};

void PrintTo(const StopAnswer& a, std::ostream* os) { *os << a.name; }

// The program on the simulated board with the held clock.
class HeldJobTest : public LayoutWindowTest {
 protected:
  void SetUp() override {
    LayoutWindowTest::SetUp();
    platform::SetClock(clock_);
    // As the program does: waits on the user-interface thread (the head's
    // return at the job's end) keep handling events.
    platform_qt::InstallQtPumpHook();
    ASSERT_TRUE(runner_.Start()) << runner_.LastError();
    ASSERT_TRUE(WriteSoftTypeFile(ZephyneFilePath(folder_), SOFT_TYPE_USB));
    ::setenv("VENDRIK_SERIAL_DEVICE", runner_.DevicePath().c_str(), 1);
    MarkStatusWord = 0;
  }
  void TearDown() override {
    clock_->Open();
    PumpQtUntil([] { return (MarkStatusWord.load() & MSW_MARKING) == 0; });
    LayoutWindowTest::TearDown();
    ::unsetenv("VENDRIK_SERIAL_DEVICE");
    runner_.Stop();
    platform::SetPumpHook(nullptr);
    platform::SetClock(std::make_shared<platform::SteadyClock>());
    g_softType = 0;
  }

  // A new layout with a line, the link to the board up, and the parameter
  // record set to three passes six seconds apart on its "Work style..." page.
  void SetUpThreePasses() {
    StartWithNewLayout();
    CProperityView* link = Child()->PropertyPane()->View();
    ASSERT_TRUE(PumpQtUntil([link] { return link->GetProtocolVariant() >= 0; }));
    DrawTwoPoint(cmd::ID_ADD_LINE, Px(-10, 0), Px(10, 0));
    ASSERT_EQ(Count(), 2);
    ClickRow(RowOf(Doc().Objects().GetAt(0)));
    OpenPage("Work style...");
    TypeIntoPage("edit1014", "3");
    TypeIntoPage("edit1015", "6");
    const CDrawProperity* record = Doc().Objects().GetAt(0)->GetObjectAs<CDrawProperity>();
    ASSERT_EQ(record->GetContinuousCount(), 3);
    ASSERT_EQ(record->GetRestTime(), 6);
    ASSERT_EQ(record->GetResetAfterN(), 1);
    // The marking window shows while the job runs.
    Command(cmd::ID_OPEN_MARK_WINDOW);
  }
  // "Start mark(S)" from the Mark menu.
  void StartFromTheMarkMenu() {
    CMainFrame* frame = app_->MainFrame();
    frame->UpdateCommandUI();  // as opening the menu does
    QMenu* mark = nullptr;
    for (QAction* entry : frame->menuBar()->actions())
      if (entry->text() == "Mark(&M)") mark = entry->menu();
    ASSERT_NE(mark, nullptr);
    QAction* start = frame->Action(cmd::ID_START_MARK);
    ASSERT_TRUE(mark->actions().contains(start));
    ASSERT_TRUE(start->isEnabled());
    start->trigger();
  }
  // Until the job waits in its n-th held second.
  bool UntilHeldSecond(int n) {
    return PumpQtUntil([this, n] { return clock_->Held() >= n && clock_->Holding(); });
  }
  // What a paint of the layout view writes now, through the recording context.
  std::vector<std::string> DrawnTexts() {
    platform::RecordingDeviceContext dc;
    Model().OnDraw(dc, View()->GetScrollPosition(), View()->ClientWidth(), View()->ClientHeight());
    std::vector<std::string> texts;
    for (const platform::DcOp& op : dc.Ops())
      if (op.kind == platform::DcOp::TextOut && op.color == RGB(255, 0, 0)) texts.push_back(op.text);
    return texts;
  }
  // The view as painted, around its centre where the countdown stands.
  QImage Centre() {
    const QImage shot = View()->viewport()->grab().toImage();
    return shot.copy(shot.width() / 2 - 150, shot.height() / 2 - 60, 300, 120);
  }
  static int RedPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
    return n;
  }
  // Where the job stands, for a failure's message.
  std::string JobState() const {
    std::string state = "status word " + std::to_string(MarkStatusWord.load()) + ", held seconds " +
                        std::to_string(clock_->Held()) + ", board saw:";
    for (const std::string& c : board_.Commands()) state += " " + c;
    state += ", asked:";
    for (const std::string& t : prompt_->Texts()) state += " \"" + t + "\"";
    return state;
  }
  int BoardCount(const std::string& command) const {
    const auto c = board_.Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), command));
  }

  std::shared_ptr<HeldClock> clock_ = std::make_shared<HeldClock>();
  boardsim::BoardSimulator board_{boardsim::BoardConfig{boardsim::Variant::Plain}};
  boardsim::BoardSimRunner runner_{board_};
};

class RepeatedPassesTest : public HeldJobTest, public ::testing::WithParamInterface<StopAnswer> {};

}  // namespace

TEST_P(RepeatedPassesTest, PauseInTheWaitBetweenPassesAsksAndTheAnswerDecides) {
  SetUpThreePasses();
  const int redBefore = RedPixels(Centre());
  prompt_->QueueAnswer(GetParam().answer);
  StartFromTheMarkMenu();

  // After the first pass the head went home and the view counts six seconds down.
  ASSERT_TRUE(UntilHeldSecond(1)) << JobState();
  CDisMarkFrame* display = Child()->DisplayFrame();
  ASSERT_NE(display, nullptr);
  EXPECT_TRUE(display->isVisible());
  EXPECT_EQ(DrawnTexts(), std::vector<std::string>{SecondsLeft(6)});
  QImage shown = Centre();
  EXPECT_GT(RedPixels(shown), redBefore + 20) << "the seconds are painted in red";

  Command(cmd::ID_PAUSE_MARK);
  EXPECT_NE(MarkStatusWord.load() & MSW_STOP_REQUEST, 0u);
  // The wait runs to its end, a second at a time, before anything is asked.
  for (int left = 5; left >= 1; --left) {
    SCOPED_TRACE(left);
    clock_->LetOneGo();
    ASSERT_TRUE(UntilHeldSecond(7 - left)) << JobState();
    EXPECT_EQ(DrawnTexts(), std::vector<std::string>{SecondsLeft(left)});
    const QImage next = Centre();
    EXPECT_NE(next, shown) << "each second is painted anew";
    shown = next;
    EXPECT_TRUE(prompt_->Texts().empty());
  }
  clock_->Open();  // the last second, and the later waits of a job that goes on

  CMainFrame* frame = app_->MainFrame();
  ASSERT_TRUE(PumpQtUntil([frame] {
    return frame->MarkControl()->EndMarkingCalls() >= 1 && (MarkStatusWord.load() & MSW_MARKING) == 0;
  })) << "the job never ended";
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Are you terminated marking-6"});
  EXPECT_EQ(BoardCount("PAUSE"), 1);
  EXPECT_EQ(BoardCount("MM"), GetParam().markBegins);
  EXPECT_EQ(frame->PaneText(ID_PANE_MARK_COUNT), GetParam().finished);
  EXPECT_EQ(MarkStatusWord.load() & (MSW_STOP_REQUEST | MSW_STOP_CONFIRMED), 0u);

  PumpQtUntil([&] { return !display->isVisible(); });
  EXPECT_FALSE(display->isVisible()) << "the marking window hides at the end";
  EXPECT_TRUE(DrawnTexts().empty());
  PumpQtUntil([&] { return RedPixels(Centre()) <= redBefore; });
  EXPECT_LE(RedPixels(Centre()), redBefore) << "the countdown is gone from the view";
  frame->UpdateCommandUI();
  EXPECT_TRUE(Action(cmd::ID_START_MARK)->isEnabled());
  EXPECT_FALSE(Action(cmd::ID_START_MARK)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Answers, RepeatedPassesTest,
                         ::testing::Values(StopAnswer{"YesEndsTheJob", IDYES, QString::fromUtf8("1/3次"), 1},
                                           StopAnswer{"NoCarriesOn", IDNO, QString::fromUtf8("3/3次"), 3}),
                         [](const ::testing::TestParamInfo<StopAnswer>& info) { return std::string(info.param.name); });

namespace {

// How the page with the focused field was replaced, and the key pressed.
enum class PageGoneBy { RecentOpen, Undo };

struct StopKey {
  const char* name;
  Qt::Key key;
  PageGoneBy gone;
};

void PrintTo(const StopKey& k, std::ostream* os) { *os << k.name; }

class StopKeyTest : public HeldJobTest, public ::testing::WithParamInterface<StopKey> {
 protected:
  void SetUp() override {
    HeldJobTest::SetUp();
    platform::SetFileDialog(files_);
    // Two seconds between the start and the first mark: the job waits there.
    settings_->WriteDword(platform::kRegistryKey, "StartMarkDelay", 2000);
  }
  void TearDown() override {
    HeldJobTest::TearDown();
    platform::SetFileDialog(nullptr);
  }
  void SaveAs(const std::string& path) {
    files_->QueuePath(path);
    Command(cmd::ID_FILE_SAVE_AS);
    ASSERT_EQ(Doc().GetPathName(), path);
  }

  std::shared_ptr<platform::ScriptedFileDialog> files_ = std::make_shared<platform::ScriptedFileDialog>();
};

}  // namespace

// layout1.mrk open, "line-1" clicked in the object list and then its "Object
// name:" field; layout2.mrk opened from the recent files, which replaces the
// page that had the focus: the focus is back in the layout. Or Undo from the
// tool bar replaces the page, and the focus is nowhere. Either way a stop key
// pressed while the job waits (sent where the window system sends it: to the
// focus widget, or to the window when none has it) asks whether to stop, and
// the pass is not counted.
TEST_P(StopKeyTest, StopsAJobAfterTheFocusedNameFieldWasReplaced) {
  StartWithNewLayout();
  CProperityView* link = Child()->PropertyPane()->View();
  ASSERT_TRUE(PumpQtUntil([link] { return link->GetProtocolVariant() >= 0; }));
  const std::string layout1 = folder_ + "/layout1.mrk";
  const std::string layout2 = folder_ + "/layout2.mrk";
  // The arc is marked first: the job notices the stop inside it.
  DrawThree();
  SaveAs(layout1);
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-10, -25), Px(10, -25));
  SaveAs(layout2);
  files_->QueuePath(layout1);
  Command(cmd::ID_FILE_OPEN);
  ASSERT_EQ(Doc().GetPathName(), layout1);
  const bool byUndo = GetParam().gone == PageGoneBy::Undo;
  if (byUndo) DrawTwoPoint(cmd::ID_ADD_LINE, Px(-10, -25), Px(10, -25));

  ClickRow(RowOf(Named("line-1")));
  OpenPage("Name");
  QWidget* page = Child()->PropertyPane()->View()->GetSheet()->currentWidget();
  auto* field = page != nullptr ? page->findChild<QLineEdit*>("edit1000") : nullptr;
  ASSERT_NE(field, nullptr);
  QTest::mouseClick(field, Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), field);
  if (byUndo) {
    Command(cmd::ID_EDIT_UNDO);
    ASSERT_EQ(Named("line-2"), nullptr);
  } else {
    ASSERT_EQ(app_->RecentFiles().Entries(), (std::vector<std::string>{layout1, layout2}));
    Command(cmd::ID_FILE_MRU_FILE1 + 1);
    ASSERT_EQ(Doc().GetPathName(), layout2);
    EXPECT_EQ(QApplication::focusWidget(), View()) << "after an open the keys go to the layout";
  }

  prompt_->QueueAnswer(IDYES);
  StartFromTheMarkMenu();
  ASSERT_TRUE(PumpQtUntil([this] { return clock_->Holding(); })) << JobState();
  ASSERT_NE(MarkStatusWord.load() & MSW_MARKING, 0u);
  QTest::keyClick(app_->MainFrame()->windowHandle(), GetParam().key);
  EXPECT_NE(MarkStatusWord.load() & MSW_STOP_REQUEST, 0u) << "the key reached the stop handling";
  clock_->Open();
  CMainFrame* frame = app_->MainFrame();
  ASSERT_TRUE(PumpQtUntil([frame] {
    return frame->MarkControl()->EndMarkingCalls() >= 1 && (MarkStatusWord.load() & MSW_MARKING) == 0;
  })) << "the job never ended";
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Are you terminated marking"}) << JobState();
  EXPECT_EQ(frame->PaneText(ID_PANE_MARK_COUNT), QString::fromUtf8("0/1次"));
}

INSTANTIATE_TEST_SUITE_P(Keys, StopKeyTest,
                         ::testing::Values(StopKey{"EscapeAfterRecentOpen", Qt::Key_Escape, PageGoneBy::RecentOpen},
                                           StopKey{"SpaceAfterRecentOpen", Qt::Key_Space, PageGoneBy::RecentOpen},
                                           StopKey{"EnterAfterRecentOpen", Qt::Key_Return, PageGoneBy::RecentOpen},
                                           StopKey{"EscapeAfterUndo", Qt::Key_Escape, PageGoneBy::Undo}),
                         [](const ::testing::TestParamInfo<StopKey>& info) { return std::string(info.param.name); });
