// The program's layout view marking a layout on the simulated board over a
// pseudo-terminal: Enter, the machine's start key and the board's stop, then
// the jog, origin and test commands. The widget runs offscreen; the Qt event
// loop is the user-interface thread, the controller's job runs in its worker.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "app/core/CommandIds.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/path/StepNodes.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/handtools/JogRequest.h"
#include "marking/link/CComLink.h"
#include "platform/InstallDir.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "platform_qt/QtMessageTarget.h"
#include "properties/link/CProperityView.h"
#include "tests/marking/link/SimulatedBoardView.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"
#include "text/objects/CObjBarCode.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

using namespace std::chrono_literals;

namespace {

void EnsureQtApplication() {
  static int argc = 1;
  static char name[] = "test_view_marking";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);  // never destroyed
  (void)app;
}

void Pump() {
  QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  std::this_thread::sleep_for(1ms);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 30s) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Pump();
  }
  return true;
}

class NullBar : public IProgressBar {
 public:
  void SetRange(int, int) override {}
  void SetStep(int) override {}
  void SetPos(int) override {}
};

// The main frame as the controller and the view use it: the job's end goes
// back to the controller on the UI thread.
class TestMainFrame : public IViewMainFrame {
 public:
  explicit TestMainFrame(std::function<void(const platform::Message&)> handler)
      : target_([handler](const platform::Message& m) { handler(m); }) {}
  platform::MessageTarget* GetFrameTarget() override { return &target_; }
  std::unique_ptr<IProgressBar> CreatePaneControl(int, int) override { return std::make_unique<NullBar>(); }
  void ShowCursorPos(double, double) override {}
  void SetRecordText(int) override {}

 private:
  platform_qt::QtMessageTarget target_;
};

class RecordingDialogs : public IViewMarkDialogs {
 public:
  bool HasJogWindow() override { return false; }
  void CreateJogWindow() override {}
  void EndJog(int) override {}
  void SaveJogSelection() override {}
  void RunMotorTest() override { ++motorTests; }
  bool EditDithering(DitheringValues&) override { return false; }
  bool EditOriginCorner(int&) override { return false; }
  int motorTests = 0;
};

struct Pos {
  long long x, y;
  auto operator<=>(const Pos&) const = default;
};

// Steps from the left-top corner of the 120 x 100 mm area, 4 um a step, y up.
Pos Steps(double xMm, double yMm) { return {std::llround((xMm + 60) * 250), std::llround((yMm - 50) * 250)}; }

class MarkingEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApplication();
    auto settings = platform::MakeMemorySettingsStore();
    settings->CreateKey(platform::kRegistryKey);
    platform::SetSettingsStore(settings);
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    folder_ = platform::DefaultDataFolder() + "/MarkingEndToEnd";
    std::filesystem::create_directories(folder_);
    g_installDir = folder_;
    g_softType = SOFT_TYPE_USB;
    g_machineSet = DefaultMachineSetRecord();
    MarkStatusWord = 0;

    ASSERT_TRUE(runner_.Start({}, true)) << runner_.LastError();
    propertyView_ = std::make_unique<CProperityView>(SimulatedBoardViewOptions(runner_.DevicePath()));
    propertyTarget_ = std::make_unique<platform_qt::QtMessageTarget>(
        [this](const platform::Message& m) { propertyView_->HandleMessage(m); });
    propertyView_->SetSelfTarget(propertyTarget_.get());

    control_ = std::make_unique<CMarkControlWnd>();
    frame_ = std::make_unique<TestMainFrame>([this](const platform::Message& m) {
      if (m.msg == WM_MARK_FINISHED) control_->EndMarking(m.wParam, m.lParam);
    });
    control_->Create(frame_->GetFrameTarget(), 1119);
    controlTarget_ = std::make_unique<platform_qt::QtMessageTarget>(
        [this](const platform::Message& m) { control_->HandleMessage(m); });
    control_->SetSelfTarget(controlTarget_.get());
    control_->SetFrame(frame_.get());
    control_->SetPump(Pump);

    view_ = std::make_unique<CVendrikView>();
    view_->resize(500, 400);
    view_->SetDocument(&document_);
    CVendrikViewModel& model = view_->Model();
    model.SetMainFrame(frame_.get());
    model.SetMarkControl(control_.get());
    model.SetMarkDialogs(&dialogs_);
    model.SetLinkHostSource([this]() -> ILinkHost* { return propertyView_.get(); });
    view_->OnInitialUpdate();
    propertyView_->OnInitialUpdate(&view_->Target());
    ASSERT_TRUE(PumpUntil([this] { return propertyView_->GetProtocolVariant() >= 0; }, 60s));
    board_.ClearRecords();

    AddLine({-30, 30}, {-10, 30});
    CPointList points;
    // The first point starts the stroke, the others join it.
    for (const CDoublePoint& p : {CDoublePoint(0, 20, 0), CDoublePoint(20, 20, 1), CDoublePoint(20, 0, 1)}) points.Add(p);
    AddElement(OBJ_POLYLINE, new CObjPolyLine(points, 0, 0), sizeof(CObjPolyLine));
  }

  void TearDown() override {
    PumpUntil([this] { return (MarkStatusWord.load() & MSW_MARKING) == 0; }, 30s);
    control_->WaitForJob();
    view_->Model().SetMarkControl(nullptr);
    propertyView_->OnDestroy();
    Pump();
    view_.reset();
    control_.reset();
    propertyView_.reset();
    runner_.Stop();
    platform::SetPrompt(nullptr);
    MarkStatusWord = 0;
    g_softType = 0;
  }

  void AddElement(int type, CObjBase* object, std::size_t size) {
    auto element = std::make_unique<CObjElement>(CObjCreateRecord{"", type, object, static_cast<int>(size), {}});
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    document_.Objects().Add(std::move(element));
  }
  void AddLine(CDoublePoint a, CDoublePoint b) {
    AddElement(OBJ_LINE, new CObjLine(CDoublePoint(a.x, a.y, 0), CDoublePoint(b.x, b.y, 1)), sizeof(CObjLine));
  }

  void PressKey(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(view_.get(), &press);
  }
  bool WaitJobEnds(int ends) {
    return PumpUntil([&] {
      return control_->EndMarkingCalls() >= ends && (MarkStatusWord.load() & MSW_MARKING) == 0;
    });
  }
  int Count(const std::string& command) const {
    const auto c = board_.Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), command));
  }
  // Where the needle came down, and where the head stands, from the moves.
  std::vector<Pos> ToolDownPositions(Pos& at) const {
    std::vector<Pos> down;
    for (const auto& m : board_.Moves()) {
      at.x += (m.flags & SN_X_NEGATIVE) ? -m.x : m.x;
      at.y += (m.flags & SN_Y_POSITIVE) ? m.y : -static_cast<long long>(m.y);
      if (m.flags & SN_TOOL_DOWN) down.push_back(at);
    }
    return down;
  }

  std::string folder_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  boardsim::BoardSimulator board_{boardsim::BoardConfig{boardsim::Variant::Plain}};
  boardsim::BoardSimRunner runner_{board_};
  std::unique_ptr<CProperityView> propertyView_;
  std::unique_ptr<platform_qt::QtMessageTarget> propertyTarget_;
  std::unique_ptr<CMarkControlWnd> control_;
  std::unique_ptr<TestMainFrame> frame_;
  std::unique_ptr<platform_qt::QtMessageTarget> controlTarget_;
  RecordingDialogs dialogs_;
  CVendrikDoc document_;
  std::unique_ptr<CVendrikView> view_;
};

}  // namespace

TEST_F(MarkingEndToEndTest, EnterMarksTheLayoutAndASecondEnterStartsNoSecondJob) {
  PressKey(Qt::Key_Return);
  EXPECT_EQ(MarkStatusWord.load() & (MSW_MARKING | MSW_AIR_ON), MSW_MARKING | MSW_AIR_ON);
  // While the job runs Enter is a stop key; the operator goes on.
  prompt_->QueueAnswer(IDNO);
  PressKey(Qt::Key_Return);
  ASSERT_TRUE(WaitJobEnds(1));
  EXPECT_EQ(control_->EndMarkingCalls(), 1);
  EXPECT_EQ(Count("MM"), 1) << "one job";

  Pos at{0, 0};
  const std::vector<Pos> down = ToolDownPositions(at);
  const std::vector<Pos> expected = {Steps(-10, 30), Steps(20, 20), Steps(20, 0)};
  EXPECT_EQ(down, expected);
  EXPECT_EQ(at, Steps(-55, 45)) << "the job ends 5 mm inside the origin corner";
  EXPECT_EQ(MarkStatusWord.load() & (MSW_MARKING | MSW_STOP_REQUEST | MSW_STOP_CONFIRMED), 0u);
}

TEST_F(MarkingEndToEndTest, StopFromTheBoardEndsTheJobAndClearsTheStatusBits) {
  // Replies: HH, PARA, RR, MM, then the stream: the line's two moves, the
  // polyline's jump and its first stroke, which reports the stop key.
  board_.QueueFault({boardsim::FaultKind::Stop, 8});
  prompt_->QueueAnswer(IDYES);
  view_->Model().RunCommand(cmd::ID_START_MARK, true);
  ASSERT_TRUE(WaitJobEnds(1));
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Are you terminated marking"});
  EXPECT_EQ(MarkStatusWord.load() & (MSW_MARKING | MSW_STOP_REQUEST | MSW_STOP_CONFIRMED), 0u);
  Pos at{0, 0};
  EXPECT_LT(ToolDownPositions(at).size(), 3u) << "the layout was not finished";
}

TEST_F(MarkingEndToEndTest, TheMachinesStartKeyStartsAJob) {
  // The link takes one start key a second, counted from its opening: its
  // milliseconds are stepped here.
  static std::atomic<std::uint32_t> ticks{0};
  propertyView_->GetLink()->SetTickSource([] { return ticks.load(); });
  ticks = CComLink::kHandKeyGapMs;
  board_.SendHandKey();
  ASSERT_TRUE(PumpUntil([this] { return control_->EndMarkingCalls() >= 1; }));
  ASSERT_TRUE(WaitJobEnds(1));
  EXPECT_EQ(Count("MM"), 1);
  Pos at{0, 0};
  EXPECT_EQ(ToolDownPositions(at).size(), 3u);
}

TEST_F(MarkingEndToEndTest, JogOriginAndTestCommandsReachTheBoard) {
  // Jog: 10 mm to the right with the first step choice.
  g_machineSet.jogStepIndex = 0;
  auto done = std::make_shared<platform::Event>(true, false);
  view_->Target().PostMessage(WM_JOG_REQUEST, JOG_X_PLUS, 0, std::make_shared<JogRequest>(JogRequest{JOG_X_PLUS, done}));
  ASSERT_TRUE(PumpUntil([&] { return done->IsSet(); }));
  Pos at{0, 0};
  EXPECT_TRUE(ToolDownPositions(at).empty());
  EXPECT_EQ(at, (Pos{2500, 0}));
  // A step that is none of the five travels with the request: 2.5 mm down.
  g_machineSet.jogStepIndex = 7;
  auto free = std::make_shared<platform::Event>(true, false);
  JogRequest request{JOG_Y_PLUS, free};
  request.step = 2.5f;
  view_->Target().PostMessage(WM_JOG_REQUEST, JOG_Y_PLUS, 0, std::make_shared<JogRequest>(request));
  ASSERT_TRUE(PumpUntil([&] { return free->IsSet(); }));
  at = {0, 0};
  ToolDownPositions(at);
  EXPECT_EQ(at, (Pos{2500, -625}));
  g_machineSet.jogStepIndex = 0;

  // Machine origin: the head goes home.
  const int homes = Count("RR");
  view_->Model().RunCommand(cmd::ID_MACHINE_ORIGIN, true);
  ASSERT_TRUE(PumpUntil([&] { return Count("RR") > homes; }));

  // Hardware test on the plain board: the status poll first, its reply opens the test.
  view_->Model().RunCommand(cmd::ID_TEST_HARDWARE, true);
  ASSERT_TRUE(PumpUntil([&] { return dialogs_.motorTests == 1; }));
  EXPECT_GE(Count("TT"), 1);
}

// A code whose input is a fixed text is marked with that text every time; a
// code that carries a serial number steps it after each piece.
TEST_F(MarkingEndToEndTest, AFixedTextCodeKeepsItsTextWhileASerialCodeAdvances) {
  RegisterObjTypeOps(ObjClassId::BarCode, &BarCodeTypeOps());
  auto* fixed = new CObjBarCode(CDoublePoint(-40, -10, 0), "ABC", "123", "DEF");
  auto* serial = new CObjBarCode(CDoublePoint(10, -10, 0), "ABC", "123", "DEF");
  // As the code page sets it: "Scan input barcode", then the text in "String".
  fixed->Code().inputMode = 1;
  fixed->SetCodeText(CDoublePoint(-40, -10, 0), "HELLO-FIXED", 0, 1);
  serial->SetCodeText(CDoublePoint(10, -10, 0), serial->ComposeText(), 0, 0);
  for (CObjBarCode* code : {fixed, serial}) AddElement(OBJ_BARCODE, code, sizeof(CObjBarCode));
  ASSERT_GT(fixed->GetDotCount(), 0);
  for (int run = 1; run <= 2; ++run) {
    PressKey(Qt::Key_Return);
    ASSERT_TRUE(WaitJobEnds(run));
  }
  EXPECT_EQ(Count("MM"), 2);
  EXPECT_EQ(fixed->GetText(), "HELLO-FIXED");
  EXPECT_EQ(fixed->Code().fixedText, "HELLO-FIXED");
  EXPECT_EQ(serial->Serial().serial, "125");
  EXPECT_EQ(serial->GetText(), "ABC125DEF");
  document_.DeleteAllObjects();
  RegisterObjTypeOps(ObjClassId::BarCode, nullptr);
}
