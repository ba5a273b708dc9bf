// The controller's commands end to end: property view, link threads, a real
// pseudo-terminal and the simulated board.
#include <memory>

#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "SimulatedBoardView.h"
#include "document/geometry/SharedState.h"
#include "marking/link/CComLink.h"
#include "marking/link/CControllerLink.h"
#include "marking/link/LinkMessages.h"
#include "platform/Prompt.h"
#include "properties/link/CProperityView.h"
#include "tests/support/WaitFor.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"

using namespace std::chrono_literals;
using boardsim::FaultKind;

namespace {

ParameterBlockInput DefaultRecord() {
  ParameterBlockInput in = DefaultParameterInput();
  in.normalDelay = 30;
  return in;
}

class BoardLink {
 public:
  explicit BoardLink(boardsim::Variant variant, bool pace = false) : BoardLink(boardsim::BoardConfig{variant}, pace) {}
  explicit BoardLink(boardsim::BoardConfig config, bool pace = false) : board(config), runner(board) {
    prompt = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt);
    MarkStatusWord = 0;
    EXPECT_TRUE(runner.Start({}, pace)) << runner.LastError();
    view = std::make_unique<CProperityView>(SimulatedBoardViewOptions(runner.DevicePath()));
    view->SetSelfTarget(&viewWindow);
    viewWindow.SetHandler([this](const platform::Message& m) {
      view->HandleMessage(m);
      if (afterViewMessage) afterViewMessage(m);
    });
    controller = std::make_unique<CControllerLink>(view.get(), &controllerWindow);
    controllerWindow.SetHandler([this](const platform::Message& m) {
      if (m.msg == WM_COM_REQUEST) controller->OnComReply(m);
    });
    layoutWindow.SetHandler([this](const platform::Message& m) {
      if (m.msg == WM_HARD_START) ++hardStarts;
    });
    controller->SetWorkerDoneFlag(&workerDone);
    ui.Invoke([this] { view->OnInitialUpdate(&layoutWindow); });
  }
  ~BoardLink() {
    ui.Invoke([this] { view->OnDestroy(); });
    ui.Stop();
    runner.Stop();
    platform::SetPrompt(std::make_shared<platform::ScriptedPrompt>());
  }
  bool WaitVariant() { return WaitForProtocolVariant(*view, ui); }
  std::vector<std::string> Commands() const { return board.Commands(); }
  int Count(const std::string& command) const {
    auto c = board.Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), command));
  }

  boardsim::BoardSimulator board;
  boardsim::BoardSimRunner runner;
  std::shared_ptr<platform::ScriptedPrompt> prompt;
  UiThread ui;
  UiThread::Window viewWindow{ui, nullptr};
  UiThread::Window controllerWindow{ui, nullptr};
  UiThread::Window layoutWindow{ui, nullptr};
  std::unique_ptr<CProperityView> view;
  std::unique_ptr<CControllerLink> controller;
  std::atomic<int> workerDone{0};
  std::atomic<int> hardStarts{0};
  std::function<void(const platform::Message&)> afterViewMessage;  // set on the UI thread
};

std::vector<boardsim::MoveRecord> SomeMoves(int n) {
  std::vector<boardsim::MoveRecord> moves;
  for (int i = 0; i < n; ++i)
    moves.push_back({static_cast<std::uint16_t>(i * 37 + 1), static_cast<std::uint16_t>(0x1113 + i),
                     static_cast<std::uint8_t>((i % 2) ? 0xC8 : 0x04)});
  return moves;
}

}  // namespace

TEST(LinkSetUp, VersionQueryChoosesThePlainVariant) {
  BoardLink link(boardsim::Variant::Plain);
  ASSERT_TRUE(link.WaitVariant());
  EXPECT_EQ(link.view->GetProtocolVariant(), PROTOCOL_PLAIN);
  EXPECT_EQ(link.view->GetLink()->GetProtocol(), PROTOCOL_PLAIN);
  EXPECT_EQ(link.Commands(), (std::vector<std::string>{"TT"})) << "no set-up frame for the plain board";
  EXPECT_TRUE(link.prompt->Texts().empty());
}

TEST(LinkSetUp, FramedBoardGetsTheSetUpFrameForTheFreeModeSwitch) {
  for (std::uint8_t freeMode : {0, 1}) {
    ControlBit0Switch = freeMode;
    BoardLink link(boardsim::Variant::Framed);
    ASSERT_TRUE(link.WaitVariant());
    EXPECT_EQ(link.view->GetProtocolVariant(), PROTOCOL_FRAMED);
    EXPECT_TRUE(WaitUntil([&] { return link.Commands().size() >= 2; }));
    EXPECT_EQ(link.Commands(), (std::vector<std::string>{"TT", freeMode ? "SETUP:" : "SETUP;"}));
  }
  ControlBit0Switch = 0;
}

TEST(LinkSetUp, ClosingTheFramedLinkTellsTheBoard) {
  auto link = std::make_unique<BoardLink>(boardsim::Variant::Framed);
  ASSERT_TRUE(link->WaitVariant());  // the set-up frame answered too
  auto* board = &link->board;
  const int replies = board->RepliesSent();
  link->ui.Invoke([&] { link->view->OnDestroy(); });
  EXPECT_TRUE(WaitUntil([&] { return board->Commands().back() == "CC"; }));
  EXPECT_TRUE(WaitUntil([&] { return board->RepliesSent() == replies + 1; })) << "the board answers the close";
  link->ui.Idle();
  EXPECT_TRUE(link->prompt->Texts().empty()) << "and its answer needs nothing more";
  EXPECT_EQ(link->view->GetProtocolVariant(), -1);
}

TEST(ControllerLink, ParametersSpeedAndAShortStreamInBothVariants) {
  for (auto variant : {boardsim::Variant::Plain, boardsim::Variant::Framed}) {
    SCOPED_TRACE(variant == boardsim::Variant::Plain ? "plain" : "framed");
    BoardLink link(variant);
    ASSERT_TRUE(link.WaitVariant());
    link.board.ClearRecords();
    auto& c = *link.controller;

    const auto record = DefaultRecord();
    ASSERT_EQ(c.SendParameters(record), 1);
    EXPECT_EQ(c.linkReady.load(), 1);
    const auto block = BuildParameterBlock(record);
    EXPECT_EQ(link.board.LastParameterBlock(), boardsim::Bytes(block.begin(), block.end()));
    int frequency = 600;
    double duty = 25;
    ASSERT_EQ(c.SendSpeed(frequency, duty), 1);
    EXPECT_EQ(frequency, 500);
    EXPECT_EQ(link.board.LastSpeedBlock(), (boardsim::Bytes{0, 57, 0, 14}));

    AxisStepCounters[0] = 12;
    ASSERT_EQ(c.BackToOrigin(false), 1);
    EXPECT_EQ(AxisStepCounters[0].load(), 0);
    EXPECT_EQ(link.workerDone.load(), 1);
    ASSERT_EQ(c.SendMarkBegin(), 1);
    const auto moves = SomeMoves(40);
    for (const auto& m : moves) ASSERT_EQ(c.SendMove(m.x, m.y, m.flags), 1);
    ASSERT_EQ(c.SendPause(), 1);
    ASSERT_EQ(c.SendStreamEnd(), 1);
    EXPECT_EQ(link.board.Moves(), moves);
    EXPECT_FALSE(link.board.InStream());
    if (variant == boardsim::Variant::Plain) {
      EXPECT_EQ(link.Count("HH"), 1);
      EXPECT_EQ(link.Count("WW"), 1);
    } else {
      EXPECT_EQ(link.Count("HH"), 0) << "hello and WW are not sent framed";
      EXPECT_EQ(link.Count("WW"), 0);
    }
    EXPECT_EQ(link.Count("PAUSE"), 1);
    EXPECT_EQ(link.Count("END"), 1);
    EXPECT_EQ(link.board.ChecksumErrors(), 0);
    EXPECT_TRUE(link.prompt->Texts().empty());
  }
}

TEST(ControllerLink, FramedStreamResendsAndResynchronisesWithoutDoubleMoves) {
  BoardLink link(boardsim::Variant::Framed);
  ASSERT_TRUE(link.WaitVariant());
  auto& c = *link.controller;
  ASSERT_EQ(c.SendMarkBegin(), 1);
  link.board.QueueFault({FaultKind::Corrupt, 3});  // the board ran record 3 but its reply was garbled
  link.board.QueueFault({FaultKind::Resend, 6});   // the board asks for record 5 again
  const auto moves = SomeMoves(10);
  for (const auto& m : moves) ASSERT_EQ(c.SendMove(m.x, m.y, m.flags), 1);
  EXPECT_EQ(link.board.Moves(), moves) << "each move exactly once";
  EXPECT_EQ(link.Count("RESYNC"), 1);
  EXPECT_EQ(link.Count("RESEND"), 1);
  EXPECT_EQ(c.commFailed.load(), 0);
}

TEST(ControllerLink, BoardStopRequestsSetTheStopBitAndCountAsGood) {
  for (auto variant : {boardsim::Variant::Plain, boardsim::Variant::Framed}) {
    BoardLink link(variant);
    ASSERT_TRUE(link.WaitVariant());
    ASSERT_EQ(link.controller->SendMarkBegin(), 1);
    link.board.QueueFault({FaultKind::Stop, 2});
    EXPECT_EQ(link.controller->SendMove(1, 1, 0), 1);
    EXPECT_EQ(MarkStatusWord.load() & MSW_STOP_REQUEST, 0u);
    EXPECT_EQ(link.controller->SendMove(2, 2, 0), 1);
    EXPECT_NE(MarkStatusWord.load() & MSW_STOP_REQUEST, 0u);
    MarkStatusWord = 0;
  }
}

TEST(ControllerLink, PlainTimeOutFailsAtOnceWithoutAQuestion) {
  // A board that waits for the block no longer than for the rest of a command.
  boardsim::BoardConfig config{boardsim::Variant::Plain};
  config.blockWaitMs = config.partialTimeoutMs;
  BoardLink link(config);
  ASSERT_TRUE(link.WaitVariant());
  link.controller->SetTimeoutScale(0.05);  // 3000 ms -> 150 ms
  link.board.QueueFault({FaultKind::Drop, 1});
  EXPECT_EQ(link.controller->SendParameters(DefaultRecord()), 0);
  EXPECT_EQ(link.controller->linkReady.load(), 0);
  ASSERT_TRUE(WaitUntil([&] { return link.Count("HH") == 1; }));
  EXPECT_EQ(link.Count("HH"), 1) << "one try only";
  EXPECT_TRUE(link.prompt->Texts().empty());
  // The board is fine again once it gave up waiting for the block, 250 ms of
  // its own clock after the "HH" it has read: more than that must pass before
  // the next bytes (a longer pause only makes it surer).
  std::this_thread::sleep_for(300ms);
  link.controller->SetTimeoutScale(1);
  EXPECT_EQ(link.controller->SendParameters(DefaultRecord()), 1);
}

TEST(ControllerLink, FiveResendsAskTheOperator) {
  for (int answer : {IDYES, IDNO}) {
    BoardLink link(boardsim::Variant::Framed);
    ASSERT_TRUE(link.WaitVariant());
    link.ui.Idle(50ms);
    for (int i = 1; i <= 5; ++i) link.board.QueueFault({FaultKind::Resend, i});
    link.prompt->QueueAnswer(answer);
    const int result = link.controller->SendParameters(DefaultRecord());
    ASSERT_EQ(link.prompt->Requests().size(), 1u);
    EXPECT_EQ(link.prompt->Requests()[0].text, "Data comunicate error,are you want retry?");
    EXPECT_EQ(link.prompt->Requests()[0].type, MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) {
      EXPECT_EQ(result, 1);
      EXPECT_EQ(link.Count("RESEND"), 5);
      EXPECT_EQ(link.Count("PARA"), 1);
    } else {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(link.controller->commFailed.load(), 1);
      EXPECT_EQ(link.controller->linkGivenUp.load(), 1);
    }
  }
}

TEST(ControllerLink, OriginWithoutReplyNamesTheAxis) {
  BoardLink link(boardsim::Variant::Plain);
  ASSERT_TRUE(link.WaitVariant());
  link.controller->SetTimeoutScale(0.002);  // 120 s -> 240 ms
  link.board.QueueFault({FaultKind::Drop, 1});
  AxisStepCounters[1] = 7;
  EXPECT_EQ(link.controller->BackToOrigin(false), 0);
  EXPECT_EQ(link.prompt->Texts(), (std::vector<std::string>{"X back origin error!"}));
  EXPECT_EQ(AxisStepCounters[1].load(), 7);
  EXPECT_EQ(link.workerDone.load(), 1);

  // A board that reports Y away from home: status bits 2-3 against the mask.
  link.controller->SetTimeoutScale(1);
  link.controller->SetPolarityMaskSource([] { return 0x01; });
  link.board.SetOriginStatus(0x04);
  EXPECT_EQ(link.controller->BackToOrigin(false), 1);
  EXPECT_EQ(link.controller->originStatus.load(), 0x04);
  // A garbled reply: status 0x04 ^ 0x5A = 0x5E, against mask 1 only Y is off.
  link.board.QueueFault({FaultKind::Corrupt, 1});
  link.prompt->Clear();
  EXPECT_EQ(link.controller->BackToOrigin(false), 0);
  EXPECT_EQ(link.prompt->Texts(), (std::vector<std::string>{"Y back origin error!"}));
}

TEST(ControllerLink, LinkNotOpenRefusesParameters) {
  BoardLink link(boardsim::Variant::Plain);
  ASSERT_TRUE(link.WaitVariant());
  link.ui.Invoke([&] { link.view->GetLink()->Close(); });
  EXPECT_EQ(link.controller->SendParameters(DefaultRecord()), 0);
  EXPECT_EQ(link.prompt->Texts(), (std::vector<std::string>{"USB com-line not insert ok or power is off!"}));
  EXPECT_EQ(link.workerDone.load(), 1);
  int f = 100;
  double d = 50;
  EXPECT_EQ(link.controller->SendSpeed(f, d), 0);
  link.controller->SetBoardTypeSource([] { return 0; });
  EXPECT_EQ(link.controller->SendSpeed(f, d), 1) << "port boards need no speed command";
  EXPECT_EQ(link.controller->SendStreamEnd(), 1);
}

TEST(ControllerLink, AbortLeavesTheStreamAndTheBoardAnswersAfterwards) {
  for (auto variant : {boardsim::Variant::Plain, boardsim::Variant::Framed}) {
    BoardLink link(variant);
    ASSERT_TRUE(link.WaitVariant());
    ASSERT_EQ(link.controller->SendMarkBegin(), 1);
    ASSERT_EQ(link.controller->SendMove(3, 4, 0), 1);
    link.controller->SendAbort();
    EXPECT_TRUE(WaitUntil([&] { return link.Count("ABORT") != 0; }));
    EXPECT_EQ(link.Count("ABORT"), 1);
    EXPECT_FALSE(link.board.InStream());
    EXPECT_EQ(link.controller->BackToOrigin(false), 1);
  }
}

TEST(ControllerLink, ALateReplyDoesNotUpsetTheCommandsAfterIt) {
  BoardLink link(boardsim::Variant::Plain);
  ASSERT_TRUE(link.WaitVariant());
  link.controller->SetTimeoutScale(0.05);  // 150 ms
  link.board.QueueFault({FaultKind::Hold, 1});
  EXPECT_EQ(link.controller->SendMarkBegin(), 0);
  // The late "MM" arrives now, for a command nobody waits on any more.
  ASSERT_TRUE(link.board.ReleaseHeld());
  ASSERT_TRUE(WaitUntil([&] { return link.view->GetComRequest()->GetReplyLength() > 0; }));
  link.ui.Idle();
  link.controller->SetTimeoutScale(1);
  EXPECT_EQ(link.controller->SendMarkBegin(), 1);
  EXPECT_EQ(link.controller->SendMove(1, 2, 3), 1);
  EXPECT_EQ(link.controller->SendStreamEnd(), 1);
}

TEST(ControllerLink, HandKeyFromTheBoardStartsTheLayoutView) {
  std::atomic<std::uint32_t> ticks{0};  // the link's milliseconds, stepped here
  BoardLink link(boardsim::Variant::Plain);
  ASSERT_TRUE(link.WaitVariant());
  link.view->GetLink()->SetTickSource([&ticks] { return ticks.load(); });
  ticks = CComLink::kHandKeyGapMs;  // reports in the link's first second are not taken
  link.board.SendHandKey();
  EXPECT_TRUE(WaitUntil([&] { return link.hardStarts != 0; }));
  EXPECT_EQ(link.hardStarts.load(), 1);
  EXPECT_EQ(link.controller->SendMarkBegin(), 1);
}

TEST(ControllerLink, ASetUpFrameReplacedWhileTheUiThreadIsBusyIsNeverSent) {
  BoardLink link(boardsim::Variant::Framed);
  std::atomic<bool> stalled{false}, release{false};
  link.ui.Invoke([&] {
    link.afterViewMessage = [&](const platform::Message& m) {
      if (m.msg != WM_COM_VERSION_REPLY || stalled) return;
      stalled = true;  // the set-up frame waits in the queue behind this handler
      while (!release) std::this_thread::sleep_for(1ms);
    };
  });
  ASSERT_TRUE(WaitUntil([&] { return stalled.load(); }));
  // The board holds back its next reply and lets the one after it fall: a
  // reply to the set-up frame must not pass for the parameters'.
  link.board.QueueFault({FaultKind::Delay, 1, 150});
  link.board.QueueFault({FaultKind::Drop, 2});

  std::atomic<int> result{-1};
  std::thread worker([&] {
    const auto block = BuildParameterBlock(DefaultRecord());
    result = link.controller->SendCommand(COM_PARAMETERS, block.data(), kParameterBlockSize,
                                          CommandTimeoutMs(COM_PARAMETERS));
  });
  EXPECT_TRUE(WaitUntil([&] { return link.view->GetComRequest()->GetType() == COM_PARAMETERS; }));
  release = true;
  worker.join();
  EXPECT_EQ(result.load(), 1) << "the parameters' own reply, held back";
  EXPECT_EQ(link.Commands(), (std::vector<std::string>{"TT", "PARA"})) << "the replaced set-up frame never went out";
}
