// Jobs on the USB board end to end: the controller's worker, the property
// view's link threads, a real pseudo-terminal and the simulated board. The
// move records the board receives are checked against the layout.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QThread>

#include "ControllerTestSupport.h"
#include "JobTestSupport.h"
#include "values/ShellValues.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/records/CMarkRecordsRecorder.h"
#include "marking/link/LinkMessages.h"
#include "marking/records/CMarkDatabase.h"
#include "platform/Event.h"
#include "properties/link/CProperityView.h"
#include "tests/marking/link/LinkTestSupport.h"
#include "tests/marking/link/SimulatedBoardView.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"

using namespace std::chrono_literals;

namespace {

class UsbRig {
 public:
  explicit UsbRig(boardsim::Variant variant) : board(boardsim::BoardConfig{variant}), runner(board) {
    SoftType = SOFT_TYPE_USB;
    MachineSettings = DefaultMachineSetRecord();
    EXPECT_TRUE(runner.Start({}, false)) << runner.LastError();
    propertyView = std::make_unique<CProperityView>(SimulatedBoardViewOptions(runner.DevicePath()));
    propertyView->SetSelfTarget(&viewWindow);
    viewWindow.SetHandler([this](const platform::Message& m) { propertyView->HandleMessage(m); });
    layoutWindow.SetHandler([](const platform::Message&) {});
    ui.Invoke([this] { propertyView->OnInitialUpdate(&layoutWindow); });

    ctl = std::make_unique<CMarkControlWnd>(bench.clock.get());
    ctl->Create(&frame.queue, 1119);
    ctl->SetSelfTarget(&controllerWindow);
    controllerWindow.SetHandler([this](const platform::Message& m) { ctl->HandleMessage(m); });
    ctl->SetFrame(&frame);
    ctl->SetPump([] { std::this_thread::sleep_for(1ms); });
    ctl->successCount = 0;
    view.linkHost = propertyView.get();
  }
  ~UsbRig() {
    ctl->WaitForJob();
    ctl.reset();
    ui.Invoke([this] { propertyView->OnDestroy(); });
    ui.Stop();
    runner.Stop();
    SoftType = 0;
    RotateMark = 0;
  }
  bool WaitVariant() {
    const bool chosen = WaitForProtocolVariant(*propertyView, ui);
    board.ClearRecords();
    return chosen;
  }
  // Runs a job and its end as the main frame does; returns the end's wParam.
  int Mark(int air = 1) {
    MarkStatusWord = MSW_MARKING | (air ? MSW_AIR_ON : 0);
    ctl->StartMarking(&doc, &display, &view);
    const auto end = std::chrono::steady_clock::now() + 60s;
    for (;;) {
      const auto finished = frame.Finished();
      if (finished.size() > endsSeen) {
        const int result = static_cast<int>(finished[endsSeen++]);
        ctl->EndMarking(result);
        return result;
      }
      if (std::chrono::steady_clock::now() > end) return -1;
      std::this_thread::sleep_for(2ms);
    }
  }
  int Count(const std::string& command) const {
    const auto c = board.Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), command));
  }

  PortBench bench;
  boardsim::BoardSimulator board;
  boardsim::BoardSimRunner runner;
  UiThread ui;
  UiThread::Window viewWindow{ui, nullptr};
  UiThread::Window controllerWindow{ui, nullptr};
  UiThread::Window layoutWindow{ui, nullptr};
  std::unique_ptr<CProperityView> propertyView;
  TestDocument doc;
  TestView view;
  TestFrame frame;
  TestDisplay display;
  std::unique_ptr<CMarkControlWnd> ctl;
  std::size_t endsSeen = 0;
};

struct Pos {
  long long x, y;
  auto operator<=>(const Pos&) const = default;
};

// Steps from the left-top corner of the 120 x 100 mm area, 4 um a step, y up.
Pos Steps(double xMm, double yMm) {
  return {std::llround((xMm + 60) * 250), std::llround((yMm - 50) * 250)};
}

}  // namespace

TEST(UsbJob, LayersAndRepeatsArriveAsExactMoveRecordsInBothVariants) {
  for (auto variant : {boardsim::Variant::Plain, boardsim::Variant::Framed}) {
    SCOPED_TRACE(variant == boardsim::Variant::Plain ? "plain" : "framed");
    UsbRig rig(variant);
    ASSERT_TRUE(rig.WaitVariant());
    using P = std::vector<CDoublePoint>;
    rig.doc.AddLine({-30, 30}, {-10, 30}, 0);
    rig.doc.AddPolyline(P{{0, 20}, {20, 20}, {20, 0}, {0, 0}}, 1);
    rig.doc.AddLine({10, -10}, {-40, -25}, 2);
    rig.doc.AddPolyline(P{{-50, -40}, {-45, -35}, {-40, -40}}, 3);
    rig.doc.AddLine({-5, 5}, {5, 5}, 3);
    rig.doc.Record().SetContinuousCount(2);
    rig.doc.Record().SetResetAfterN(2);

    ASSERT_EQ(rig.Mark(), 1);
    EXPECT_EQ(rig.ctl->successCount, 2);
    EXPECT_EQ(rig.view.Count(WM_MARK_OBJECT_DONE), 10);

    // Where the pen comes down, pass after pass, in class order.
    std::vector<Pos> expectedDown;
    const std::vector<std::vector<CDoublePoint>> strokes = {{{-30, 30}, {-10, 30}},
                                                            {{0, 20}, {20, 20}, {20, 0}, {0, 0}},
                                                            {{10, -10}, {-40, -25}},
                                                            {{-50, -40}, {-45, -35}, {-40, -40}},
                                                            {{-5, 5}, {5, 5}}};
    for (int pass = 0; pass < 2; ++pass)
      for (const auto& s : strokes)
        for (std::size_t i = 1; i < s.size(); ++i) expectedDown.push_back(Steps(s[i].x, s[i].y));

    Pos at{0, 0};
    std::vector<Pos> down;
    for (const auto& m : rig.board.Moves()) {
      at.x += (m.flags & SN_X_NEGATIVE) ? -m.x : m.x;
      at.y += (m.flags & SN_Y_POSITIVE) ? m.y : -static_cast<long long>(m.y);
      if (m.flags & SN_TOOL_DOWN) down.push_back(at);
    }
    EXPECT_EQ(down, expectedDown);
    EXPECT_EQ(at, Steps(-55, 45)) << "the job ends 5 mm inside the origin corner";

    const auto commands = rig.board.Commands();
    ASSERT_GE(commands.size(), 4u);
    EXPECT_EQ(rig.Count("PARA"), 1);
    EXPECT_EQ(rig.Count("MM"), 1);
    EXPECT_EQ(rig.Count("RR"), 2) << "home before the block and after the job";
    EXPECT_EQ(rig.Count("END"), 1);
    EXPECT_EQ(rig.Count("ABORT"), 0);
    EXPECT_EQ(commands.back(), "RR");
    EXPECT_TRUE(rig.bench.prompt->Texts().empty());
  }
}

TEST(UsbJob, StopFromTheBoardAsksAndEndsTheJob) {
  UsbRig rig(boardsim::Variant::Plain);
  ASSERT_TRUE(rig.WaitVariant());
  rig.doc.AddPolyline({{-20, 20}, {20, 20}, {20, -20}, {-20, -20}});
  rig.doc.AddLine({-30, -30}, {30, -30});
  // Replies: HH, PARA, RR, MM, then the stream; the second move reports the stop key.
  rig.board.QueueFault({boardsim::FaultKind::Stop, 6});
  rig.bench.prompt->QueueAnswer(IDYES);
  EXPECT_EQ(rig.Mark(), 0);
  EXPECT_EQ(rig.bench.prompt->Texts(), std::vector<std::string>{"Are you terminated marking"});
  EXPECT_EQ(rig.Count("PAUSE"), 1);
  EXPECT_EQ(rig.view.Count(WM_MARK_OBJECT_DONE), 0);
  EXPECT_EQ(MarkStatusWord.load() & (MSW_STOP_REQUEST | MSW_STOP_CONFIRMED | MSW_MARKING), 0u);
  EXPECT_EQ(rig.view.Log().back(), "refresh 0");
}

TEST(UsbJob, StopAnsweredNoFinishesTheLayout) {
  UsbRig rig(boardsim::Variant::Framed);
  ASSERT_TRUE(rig.WaitVariant());
  rig.doc.AddPolyline({{-20, 20}, {20, 20}, {20, -20}, {-20, -20}});
  rig.doc.AddLine({-30, -30}, {30, -30});
  // Framed: hello succeeds without a reply; PARA, RR, MM, then the stream.
  rig.board.QueueFault({boardsim::FaultKind::Stop, 5});
  rig.bench.prompt->QueueAnswer(IDNO);
  EXPECT_EQ(rig.Mark(), 1);
  EXPECT_EQ(rig.bench.prompt->Texts(), std::vector<std::string>{"Are you terminated marking"});
  EXPECT_EQ(rig.view.Count(WM_MARK_OBJECT_DONE), 2);
}

TEST(UsbJob, RangeErrorsStopBeforeTheHeadMoves) {
  const std::pair<std::vector<CDoublePoint>, const char*> cases[] = {
      {{{0, 0}, {65, 0}}, "Right out of range!"},
      {{{-61, 0}, {0, 0}}, "Left out of range!"},
      {{{0, 0}, {0, -55}}, "Bottom out of range!"},
      {{{0, 0}, {0, 52}}, "Top out of range!"}};
  UsbRig rig(boardsim::Variant::Plain);
  ASSERT_TRUE(rig.WaitVariant());
  rig.ctl->showPreview = 1;
  for (const auto& [points, text] : cases) {
    SCOPED_TRACE(text);
    rig.doc.elements.resize(1);
    rig.doc.AddPolyline(points);
    rig.board.ClearRecords();
    rig.bench.prompt->Clear();
    rig.display.shows.clear();
    EXPECT_EQ(rig.Mark(), 0);
    EXPECT_EQ(rig.bench.prompt->Texts(), std::vector<std::string>{text});
    EXPECT_EQ(rig.display.shows, (std::vector<bool>{true, false}));
    EXPECT_TRUE(rig.board.Moves().empty());
    EXPECT_EQ(rig.Count("MM"), 0);
  }
}

TEST(UsbJob, RefusedParameterBlockOrSpeedSetUpIsAFailedJob) {
  UsbRig rig(boardsim::Variant::Plain);
  ASSERT_TRUE(rig.WaitVariant());
  rig.doc.AddLine({-10, 0}, {10, 0});
  rig.ctl->showPreview = 1;
  rig.board.QueueFault({boardsim::FaultKind::Corrupt, 2});  // HH good, PARA refused
  EXPECT_EQ(rig.Mark(), 0);
  EXPECT_EQ(rig.Count("MM"), 0);
  EXPECT_TRUE(rig.board.Moves().empty());
  EXPECT_EQ(rig.display.shows, (std::vector<bool>{true, false}));

  MachineSettings.boardOption = 1;  // send the pulse frequency at job start
  MachineSettings.pulseFrequency = 900;
  rig.display.shows.clear();
  rig.board.ClearRecords();
  rig.board.QueueFault({boardsim::FaultKind::Corrupt, 4});  // HH, PARA, WW good, RPWM refused
  EXPECT_EQ(rig.Mark(), 0);
  EXPECT_EQ(rig.bench.prompt->Texts().back(), "Initial frequent error!");
  EXPECT_EQ(MachineSettings.pulseFrequency, 500) << "clamped and kept";
  EXPECT_EQ(rig.display.shows, (std::vector<bool>{true, false}));
  EXPECT_EQ(rig.Count("MM"), 0);
  EXPECT_EQ(rig.ctl->TemporaryObjectCount(), 0);

  // A refused mark-begin ends the block before any move: a failed job too.
  MachineSettings.boardOption = 0;
  rig.board.ClearRecords();
  rig.board.QueueFault({boardsim::FaultKind::Corrupt, 4});  // HH, PARA, RR good, MM refused
  EXPECT_EQ(rig.Mark(), 0);
  EXPECT_EQ(rig.Count("MM"), 1);
  EXPECT_TRUE(rig.board.Moves().empty());
  EXPECT_EQ(rig.view.Count(WM_MARK_OBJECT_DONE), 0);
}

TEST(UsbJob, MarkingRecordIsWrittenPerPassAndFound) {
  const auto folder = std::filesystem::temp_directory_path() / ("vendrik-records-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::remove(folder / marking::kMarkDatabaseFileName);
  const std::string vin = "LSVAG2180E2100001";
  {
    UsbRig rig(boardsim::Variant::Framed);
    ASSERT_TRUE(rig.WaitVariant());
    CObjElement* keyed = rig.doc.AddLine({-10, 0}, {10, 0});
    keyed->queryKey = 1;
    rig.doc.AddLine({-10, -5}, {10, -5});
    rig.ctl->SetRecorder(std::make_shared<CMarkRecordsRecorder>(
        marking::MarkDatabaseLocation::Embedded(folder.string()),
        [&](const CObjElement& e) { return e.queryKey == 1 ? vin : std::string(); }));
    rig.doc.Record().SetContinuousCount(2);
    rig.doc.Record().SetResetAfterN(2);
    ASSERT_EQ(rig.Mark(), 1);
    ASSERT_EQ(rig.Mark(0), 1);  // without air nothing is recorded
  }
  // The job's worker closed and removed its connection before it ended, and
  // what Qt's SQL module keeps for the whole process belongs to this thread.
  EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
  EXPECT_EQ(QSqlDatabase().driver()->thread(), QThread::currentThread());
  // Looked up from a thread of its own, as the history dialog's connection
  // would be: the job's connection was made on the job's worker.
  std::thread lookUp([&] {
    marking::CMarkDatabase db(marking::MarkDatabaseLocation::Embedded(folder.string()));
    ASSERT_TRUE(db.Open()) << db.LastError();
    EXPECT_TRUE(db.Contains(marking::MarkColumn::MainKey, vin));
    EXPECT_FALSE(db.Contains(marking::MarkColumn::MainKey, vin.substr(0, 16)));
    EXPECT_EQ(db.Count().value_or(-1), 2);
    db.Close();
  });
  lookUp.join();
  std::filesystem::remove_all(folder);
}

TEST(UsbHead, WorkPositionSetsUpTheLinkHomesAndMovesInOneStream) {
  UsbRig rig(boardsim::Variant::Plain);
  ASSERT_TRUE(rig.WaitVariant());
  rig.ctl->workPosition = CDoublePoint(10, -10, 0);
  MarkStatusWord = 0;
  rig.ctl->GoWorkPosition(&rig.doc, &rig.display, &rig.view, 0);
  EXPECT_EQ(rig.ctl->atWorkPosition.load(), 1);
  EXPECT_EQ(rig.board.Commands(), (std::vector<std::string>{"HH", "PARA", "RR", "MM", "END"}));
  EXPECT_EQ(rig.board.Moves(), (std::vector<boardsim::MoveRecord>{{17500, 15000, 0}}));
  EXPECT_NEAR(rig.ctl->workPosition.x, 10, 1e-9);
  EXPECT_NEAR(rig.ctl->workPosition.y, -10, 1e-9);
  EXPECT_EQ(rig.board.LastParameterBlock().at(0) & 0x20, 0x20) << "the set-up turns the air on";

  rig.board.ClearRecords();
  platform::Event done(true);
  EXPECT_EQ(rig.ctl->MoveBy(&rig.doc, &rig.display, &rig.view, CDoublePoint(-1, 2, 0), &done), 1);
  EXPECT_TRUE(done.IsSet());
  EXPECT_EQ(rig.board.Commands(), (std::vector<std::string>{"MM", "END"}));
  EXPECT_EQ(rig.board.Moves(), (std::vector<boardsim::MoveRecord>{{250, 500, SN_X_NEGATIVE | SN_Y_POSITIVE}}));
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
}

TEST(UsbHead, RefusedSetUpLeavesTheHeadWhereItIs) {
  UsbRig rig(boardsim::Variant::Plain);
  ASSERT_TRUE(rig.WaitVariant());
  rig.board.QueueFault({boardsim::FaultKind::Corrupt, 2});
  rig.ctl->GoWorkPosition(&rig.doc, &rig.display, &rig.view, 0);
  EXPECT_EQ(rig.bench.prompt->Texts(), std::vector<std::string>{"Point the working position parameter error!"});
  EXPECT_EQ(rig.Count("RR"), 0);
  EXPECT_TRUE(rig.board.Moves().empty());
  EXPECT_EQ(rig.ctl->LinkReady(), 0);
}

// "Pause marking" while the job waits between pass blocks: the stream has
// ended with the return home, the board answers the pause record all the
// same, and the operator is asked. A board that leaves the pause unanswered
// holds the question up seconds, not the stream's ten minutes, and a job
// stopped then ends with the abort instead of waiting on a stream end.
struct RestStopCase {
  const char* name;
  boardsim::Variant variant;
  int answer;
  bool silentPause;
  int result;
  int passesMarked;
  std::vector<std::string> afterPause;  // the board's commands after the pause
};

void PrintTo(const RestStopCase& c, std::ostream* os) { *os << c.name; }

class RestStopTest : public ::testing::TestWithParam<RestStopCase> {};

TEST_P(RestStopTest, PauseInTheRestBetweenBlocksAsksOnce) {
  const RestStopCase& c = GetParam();
  UsbRig rig(c.variant);
  ASSERT_TRUE(rig.WaitVariant());
  rig.doc.AddLine({-10, 0}, {10, 0});
  rig.doc.Record().SetContinuousCount(3);
  rig.doc.Record().SetResetAfterN(1);
  rig.doc.Record().SetRestTime(2);
  bool pressed = false;
  rig.view.onCountdown = [&](const std::string& call) {
    if (pressed || call != "start 2") return;
    pressed = true;
    if (c.silentPause) rig.board.QueueFault({boardsim::FaultKind::Drop, 1});
    MarkStatusWord.fetch_or(MSW_STOP_REQUEST);
  };
  rig.bench.prompt->QueueAnswer(c.answer);
  ASSERT_EQ(rig.Mark(), c.result);
  EXPECT_EQ(rig.bench.prompt->Texts(), std::vector<std::string>{"Are you terminated marking-6"});
  EXPECT_EQ(rig.view.Count(WM_MARK_OBJECT_DONE), c.passesMarked);
  const auto commands = rig.board.Commands();
  const auto pause = std::find(commands.begin(), commands.end(), "PAUSE");
  ASSERT_NE(pause, commands.end());
  ASSERT_GE(pause - commands.begin(), 2);
  EXPECT_EQ(*(pause - 2), "END") << "the stream had ended before the return home";
  EXPECT_EQ(std::vector<std::string>(pause + 1, commands.end()), c.afterPause);
  EXPECT_EQ(MarkStatusWord.load() & (MSW_STOP_REQUEST | MSW_STOP_CONFIRMED | MSW_MARKING), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RestStopTest,
    ::testing::Values(
        RestStopCase{"PlainYes", boardsim::Variant::Plain, IDYES, false, 0, 1, {"END", "RR"}},
        RestStopCase{"FramedYes", boardsim::Variant::Framed, IDYES, false, 0, 1, {"END", "RR"}},
        RestStopCase{"PlainNo", boardsim::Variant::Plain, IDNO, false, 1, 3,
                     {"RR", "MM", "END", "RR", "RR", "MM", "END", "RR"}},
        RestStopCase{"FramedNo", boardsim::Variant::Framed, IDNO, false, 1, 3,
                     {"RR", "MM", "END", "RR", "RR", "MM", "END", "RR"}},
        RestStopCase{"SilentBoardYesAborts", boardsim::Variant::Plain, IDYES, true, 0, 1, {"RR"}},
        RestStopCase{"SilentBoardNoGoesOn", boardsim::Variant::Framed, IDNO, true, 1, 3,
                     {"RR", "MM", "END", "RR", "RR", "MM", "END", "RR"}}),
    [](const ::testing::TestParamInfo<RestStopCase>& info) { return std::string(info.param.name); });
