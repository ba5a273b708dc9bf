#include <filesystem>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "document/geometry/SharedState.h"
#include "marking/link/LinkMessages.h"
#include "platform/Prompt.h"
#include "properties/link/CProperityView.h"
#include "tests/support/WaitFor.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::serial::SerialCandidate;

namespace {

class FakeDiscovery : public platform::serial::SerialDiscovery {
 public:
  std::vector<SerialCandidate> ports;
  std::map<std::string, bool> opens;
  std::vector<std::string> probed;
  std::vector<SerialCandidate> Find() override { return ports; }
  bool Probe(const std::string& path) override {
    probed.push_back(path);
    return opens[path];
  }
};

class FakeTimers : public ITimerHost {
 public:
  std::vector<std::pair<WPARAM, unsigned>> set;
  std::vector<WPARAM> killed;
  void SetTimer(platform::MessageTarget*, WPARAM id, unsigned ms) override { set.emplace_back(id, ms); }
  void KillTimer(WPARAM id) override { killed.push_back(id); }
};

class PropertyViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    folder_ = fs::temp_directory_path() /
              ("vendrik-view-" + std::to_string(::getpid()) + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    discovery_ = std::make_shared<FakeDiscovery>();
    timers_ = std::make_shared<FakeTimers>();
    Make(1);
  }
  void TearDown() override {
    view_.reset();
    fs::remove_all(folder_);
  }
  void Make(int boardType) {
    view_.reset();
    CProperityView::Options o;
    o.discovery = discovery_;
    auto control = std::make_unique<FakeControl>();
    control_ = control.get();
    o.control = std::move(control);
    o.timers = timers_;
    o.boardType = [this] { return boardType_.load(); };
    o.portLevel = [this] { return portLevel_; };
    o.dataFolder = folder_.string();
    boardType_ = boardType;
    view_ = std::make_unique<CProperityView>(std::move(o));
    view_->SetSelfTarget(&self_);
  }
  // A reply of the given type as the link posts it.
  platform::Message VersionReply(int type, std::vector<BYTE> bytes) {
    CComRequest* r = view_->GetComRequest();
    r->Prepare(type, nullptr, 0, &self_, WM_COM_VERSION_REPLY, 0);
    auto reply = std::make_shared<ComReply>();
    reply->serial = r->GetSerial();
    reply->type = type;
    reply->bytes = std::move(bytes);
    return platform::Message{WM_COM_VERSION_REPLY, reinterpret_cast<WPARAM>(r), 0, std::shared_ptr<void>(reply, reply.get())};
  }
  std::vector<platform::Message> Posted() { return self_.Drain(); }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  fs::path folder_;
  std::shared_ptr<FakeDiscovery> discovery_;
  std::shared_ptr<FakeTimers> timers_;
  FakeControl* control_ = nullptr;
  std::atomic<int> boardType_{1};
  int portLevel_ = 0;
  platform::QueueMessageTarget self_;
  std::unique_ptr<CProperityView> view_;
};

}  // namespace

TEST_F(PropertyViewTest, SerialSettingsFileIsTakenWholeOrNotAtAll) {
  view_->LoadComSettings();
  EXPECT_EQ(view_->GetComSettings().values, (ComSettings{}.values)) << "missing file: defaults";
  EXPECT_EQ(view_->GetComSettings().BaudIndex(), 3);
  EXPECT_EQ(view_->GetComSettings().StopBitIndex(), 1);

  std::vector<unsigned char> bytes(52, 0);
  auto put = [&](int i, std::int32_t v) {
    for (int b = 0; b < 4; ++b) bytes[static_cast<std::size_t>(4 * i + b)] = static_cast<unsigned char>(v >> (8 * b));
  };
  put(0, 4);
  put(1, 2);
  put(2, 4);
  put(3, 0);
  put(4, 1);
  put(5, 1);
  put(12, -2);
  const fs::path file = folder_ / "COMSET_EX.DAT";
  EXPECT_EQ(view_->ComSettingsPath(), file.string());
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 52);
  view_->LoadComSettings();
  EXPECT_EQ(view_->GetComSettings().PortIndex(), 4);
  EXPECT_EQ(view_->GetComSettings().ParityIndex(), 2);
  EXPECT_EQ(view_->GetComSettings().BaudIndex(), 4);
  EXPECT_EQ(view_->GetComSettings().StopBitIndex(), 0);
  EXPECT_EQ(view_->GetComSettings().DataBitIndex(), 1);
  EXPECT_EQ(view_->GetComSettings().Rs232Open(), 1);
  EXPECT_EQ(view_->GetComSettings().values[12], -2);

  std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()), 30);
  view_->LoadComSettings();
  EXPECT_EQ(view_->GetComSettings().values, (ComSettings{}.values)) << "a torn file keeps the defaults";
}

TEST_F(PropertyViewTest, StartOrderOpensTheLowestAdapterThatOpens) {
  discovery_->ports = {{7, "/dev/b7"}, {0, "/dev/b0"}, {2, "/dev/b2"}, {3, "/dev/b3"}};
  discovery_->opens = {{"/dev/b7", true}, {"/dev/b0", true}, {"/dev/b2", false}, {"/dev/b3", true}};
  std::vector<std::string> order;
  view_->openRs232Port = [&] { order.push_back("rs232"); };
  platform::QueueMessageTarget layout;
  view_->OnInitialUpdate(&layout);
  EXPECT_EQ(view_->GetLink()->GetNotifyWindow(), &layout);
  EXPECT_EQ(order, (std::vector<std::string>{"rs232"}));
  EXPECT_EQ(discovery_->probed, (std::vector<std::string>{"/dev/b2", "/dev/b3"})) << "port 0 is skipped";
  EXPECT_TRUE(view_->IsLinkOpen());
  EXPECT_EQ(control_->GetCommPort(), 3);
  EXPECT_EQ(view_->GetProtocolVariant(), -1);
  ASSERT_EQ(timers_->set.size(), 1u);
  EXPECT_EQ(timers_->set[0], (std::pair<WPARAM, unsigned>{1190, 200}));
  auto posted = Posted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].msg, WM_COM_REQUEST_RESET);
  EXPECT_FALSE(view_->HandleMessage(posted[0])) << "nobody handles the reset request";

  // The timer sends the version query "TT" through the view's own queue.
  view_->HandleMessage({WM_TIMER, 1190, 0, {}});
  EXPECT_EQ(timers_->killed.back(), 1190u);
  posted = Posted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].msg, WM_COM_REQUEST);
  EXPECT_EQ(view_->GetComRequest()->GetType(), COM_VERSION);
  EXPECT_EQ(view_->GetComRequest()->GetReplyMsg(), WM_COM_VERSION_REPLY);
  view_->HandleMessage(posted[0]);
  ASSERT_TRUE(control_->WaitWrites(1));
  EXPECT_EQ(control_->Writes()[0], (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 'T', 'T'}));
  EXPECT_TRUE(prompt_->Texts().empty());

  // A tick queued before the kill, or one after the view went, asks nothing more.
  view_->HandleMessage({WM_TIMER, 1190, 0, {}});
  EXPECT_TRUE(Posted().empty()) << "one version query per opening";
  view_->OnDestroy();
  Posted();
  view_->HandleMessage({WM_TIMER, 1190, 0, {}});
  EXPECT_TRUE(Posted().empty());
}

TEST_F(PropertyViewTest, SetUpFailuresAreToldAndLeaveTheLinkClosed) {
  view_->OpenUsbLink();
  discovery_->ports = {{1, "/dev/b1"}};
  view_->OpenUsbLink();
  EXPECT_EQ(prompt_->Texts(),
            (std::vector<std::string>{"Please install usb driver!", "Please insert usb line! Restart software"}));
  EXPECT_FALSE(view_->IsLinkOpen());
  EXPECT_TRUE(timers_->set.empty());

  // Another board type only closes the link.
  discovery_->opens["/dev/b1"] = true;
  view_->OpenUsbLink();
  EXPECT_TRUE(view_->IsLinkOpen());
  boardType_ = 0;
  timers_->set.clear();
  view_->OpenUsbLink();
  EXPECT_FALSE(view_->IsLinkOpen());
  EXPECT_EQ(view_->GetProtocolVariant(), -1);
  EXPECT_TRUE(timers_->set.empty());
  Posted();
  view_->ResetComRequest();
  EXPECT_TRUE(Posted().empty()) << "no request reset off the USB board";
}

TEST_F(PropertyViewTest, VersionRepliesChooseTheVariant) {
  discovery_->ports = {{1, "/dev/b1"}};
  discovery_->opens["/dev/b1"] = true;
  view_->OpenUsbLink();
  Posted();

  view_->HandleMessage(VersionReply(COM_VERSION, {'T', 'T'}));
  EXPECT_EQ(view_->GetProtocolVariant(), PROTOCOL_PLAIN);
  EXPECT_EQ(view_->GetLink()->GetProtocol(), PROTOCOL_PLAIN);
  auto posted = Posted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].msg, WM_COM_REQUEST_RESET);

  for (auto reply : {std::vector<BYTE>{'V', '1'}, std::vector<BYTE>{'x', 'y', 'V'}}) {
    view_->HandleMessage(VersionReply(COM_VERSION, reply));
    EXPECT_EQ(view_->GetProtocolVariant(), PROTOCOL_FRAMED);
    EXPECT_EQ(view_->GetLink()->GetProtocol(), PROTOCOL_FRAMED);
    posted = Posted();
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted.back().msg, WM_COM_REQUEST);
    auto command = CommandOf(posted.back());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->type, COM_SETUP);
    ASSERT_EQ(command->bytes.size(), 33u);
    EXPECT_EQ(command->bytes[0], 0xFF);
    EXPECT_EQ(command->bytes[1], ';');
    EXPECT_EQ(command->bytes[32], ';');
  }
  EXPECT_EQ(posted.size(), 1u) << "'xyV' selects framed without a request reset";

  view_->HandleMessage(VersionReply(COM_VERSION, {'?', '?', '?'}));
  view_->HandleMessage(VersionReply(COM_PARAMETERS, {'T', 'T'}));
  view_->HandleMessage(VersionReply(COM_CLOSE, {}));
  view_->HandleMessage(VersionReply(COM_SETUP, {}));
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{"Get usb version error-2", "Get usb version error-1"}));
  EXPECT_EQ(view_->GetProtocolVariant(), PROTOCOL_FRAMED) << "an unknown answer keeps the variant";

  // A version reply to an earlier preparation is not taken.
  auto stale = VersionReply(COM_VERSION, {'T', 'T'});
  view_->GetComRequest()->Prepare(COM_ABORT, nullptr, 0, &self_, WM_COM_REQUEST_RESET, 0);
  view_->HandleMessage(stale);
  EXPECT_EQ(view_->GetProtocolVariant(), PROTOCOL_FRAMED);
}

TEST_F(PropertyViewTest, CloseAndPollCommands) {
  view_->CloseUsbLink();
  EXPECT_TRUE(Posted().empty()) << "the plain variant has no close command";
  view_->HandleMessage(VersionReply(COM_VERSION, {'V', '1'}));
  Posted();
  view_->CloseUsbLink();
  auto posted = Posted();
  ASSERT_EQ(posted.size(), 1u);
  auto command = CommandOf(posted[0]);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->type, COM_CLOSE);
  EXPECT_EQ(command->bytes, (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 'C', 'C'}));
  EXPECT_EQ(command->replyMsg, WM_COM_VERSION_REPLY);
  EXPECT_EQ(view_->GetProtocolVariant(), -1);

  // The needle test frame: '8' when the needle bit equals the needle-on level.
  platform::QueueMessageTarget layout;
  for (auto [shadow, level, expected] : {std::tuple{0x80, 0x04, '8'}, {0x00, 0x00, '8'}, {0x80, 0x00, '7'}}) {
    OutputShadow = shadow;
    portLevel_ = level;
    view_->SendPollCommand(COM_NEEDLE, &layout, WM_COM_REQUEST, 1000);
    command = CommandOf(Posted().back());
    ASSERT_EQ(command->bytes.size(), 33u);
    EXPECT_EQ(command->bytes[1], expected);
    EXPECT_EQ(command->bytes[32], expected);
    EXPECT_EQ(command->extra, 1000);
    EXPECT_EQ(command->replyWnd, &layout);
  }
  OutputShadow = 0;
  view_->SendPollCommand(COM_STATUS, &layout, WM_COM_REQUEST, 0);
  EXPECT_EQ(CommandOf(Posted().back())->bytes, (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 'T', 'T'}));
}

TEST_F(PropertyViewTest, PollCommandWakesAWaitingSenderWithFailure) {
  CComRequest* r = view_->GetComRequest();
  r->Prepare(COM_STREAM, nullptr, 0, nullptr, WM_COM_REQUEST, 0);
  std::atomic<int> result{-2};
  std::thread sender([&] { result = r->WaitEither(kEventBound); });
  std::this_thread::sleep_for(20ms);  // most often the sender waits already; either way it wakes
  view_->SendPollCommand(COM_STATUS, nullptr, WM_COM_REQUEST, 0);
  sender.join();
  EXPECT_EQ(result.load(), 0);
}

TEST_F(PropertyViewTest, RequestResetFromTheMarkingWorkerLeavesTheViewsCommandsAlone) {
  // The worker resets the shared request after each stream end while the UI
  // thread builds its own commands.
  std::thread worker([&] {
    for (int i = 0; i < 300; ++i) view_->ResetComRequest();
  });
  for (int i = 0; i < 300; ++i) view_->SendPollCommand(COM_STATUS, nullptr, WM_COM_REQUEST, 0);
  worker.join();
  // One request is shared, so a post may carry the reset that came between;
  // but a status command always carries its own "TT".
  for (const auto& m : Posted()) {
    auto command = CommandOf(m);
    ASSERT_TRUE(command);
    if (command->type == COM_STATUS) EXPECT_EQ(command->bytes, (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 'T', 'T'}));
    else EXPECT_EQ(command->bytes, std::vector<BYTE>(8, 0));
  }
}

TEST(ThreadTimerHost, TicksUntilKilledAndNeverReachAWindowThatWent) {
  ThreadTimerHost timers;
  auto window = std::make_unique<platform::QueueMessageTarget>();
  timers.SetTimer(window.get(), 1190, 5);
  auto tick = window->WaitTake(kEventBound);
  ASSERT_TRUE(tick);
  EXPECT_EQ(tick->msg, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(tick->wParam, 1190u);
  window.reset();  // before the timer is killed: later ticks go nowhere
  std::this_thread::sleep_for(30ms);
  timers.KillTimer(1190);
}
