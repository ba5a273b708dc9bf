#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "marking/link/LinkMessages.h"
#include "marking/textport/CSerialPort.h"
#include "marking/textport/Rs232Text.h"
#include "platform/Prompt.h"
#include "platform/serial/PtyPair.h"
#include "properties/link/CProperityView.h"
#include "tests/support/WaitFor.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

void WriteComSettings(const fs::path& folder, std::array<std::int32_t, 13> values) {
  std::ofstream out(folder / "COMSET_EX.DAT", std::ios::binary);
  for (std::int32_t v : values) {
    const auto u = static_cast<std::uint32_t>(v);
    const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                           static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
    out.write(bytes, 4);
  }
}

class TextPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    folder_ = fs::temp_directory_path() /
              ("vendrik-textport-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    ASSERT_TRUE(pty_.Open()) << pty_.LastError();
    ::setenv("VENDRIK_COM3", pty_.SlavePath().c_str(), 1);
  }
  void TearDown() override {
    view_.reset();
    ::unsetenv("VENDRIK_COM3");
    ::unsetenv("VENDRIK_COM128");
    fs::remove_all(folder_);
  }
  // Port index 2 (COM3), 9600 baud, no parity, 8 data bits, one stop bit.
  void MakeView(std::array<std::int32_t, 13> settings = {2, 0, 3, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}) {
    WriteComSettings(folder_, settings);
    CProperityView::Options o;
    o.discovery = std::make_shared<platform::serial::FixedSerialDiscovery>(std::vector<platform::serial::SerialCandidate>{});
    o.boardType = [] { return 0; };
    o.dataFolder = folder_.string();
    view_ = std::make_unique<CProperityView>(std::move(o));
    view_->SetSelfTarget(&self_);
    view_->OnInitialUpdate(&layout_);
  }
  void WaitForMonitor() {
    ASSERT_TRUE(WaitUntil([this] { return view_->GetSerialPort() && view_->GetSerialPort()->IsThreadAlive(); }));
  }
  void Send(const std::string& bytes) {
    ASSERT_EQ(::write(pty_.MasterFd(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Runs the view's message loop until the layout view receives a text or the
  // time is up; returns the texts received.
  std::vector<std::string> Pump(std::chrono::milliseconds within, std::size_t expected = 1) {
    std::vector<std::string> texts;
    const auto until = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < until && texts.size() < expected) {
      if (auto m = self_.WaitTake(5ms)) {
        EXPECT_TRUE(view_->HandleMessage(*m));
        if (m->msg == WM_COMM_RXCHAR) ++bytesHandled_;
      }
      while (auto t = layout_.TryTake()) {
        EXPECT_EQ(t->msg, WM_RS232_TEXT);
        EXPECT_EQ(t->wParam, reinterpret_cast<WPARAM>(&view_->GetRs232Text()));
        EXPECT_EQ(t->lParam, 0);
        EXPECT_TRUE(t->payload);
        if (t->payload) texts.push_back(*static_cast<std::string*>(t->payload.get()));
      }
    }
    return texts;
  }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  fs::path folder_;
  platform::serial::PtyPair pty_;
  platform::QueueMessageTarget self_;
  platform::QueueMessageTarget layout_;
  std::unique_ptr<CProperityView> view_;
  int bytesHandled_ = 0;
};

TEST_F(TextPortTest, FramedTextsReachTheLayoutView) {
  MakeView();
  ASSERT_NE(view_->GetSerialPort(), nullptr);
  WaitForMonitor();
  EXPECT_EQ(view_->GetSerialPort()->GetPortNumber(), 3);

  // Noise before the frame is ignored; control bytes inside arrive as spaces.
  Send("noise##$$LOT\r\n42##");
  EXPECT_EQ(Pump(kEventBound), std::vector<std::string>{"LOT  42"});
  EXPECT_EQ(view_->GetRs232Text(), "LOT  42");

  // A frame split over several writes, with a pause between them.
  Send("$$AB");
  EXPECT_TRUE(Pump(100ms).empty());
  Send("CD#");
  EXPECT_TRUE(Pump(100ms).empty());
  Send("#");
  EXPECT_EQ(Pump(kEventBound), std::vector<std::string>{"ABCD"});

  // Two texts back to back: each travels with its own copy, whatever the
  // received-text string holds by the time the layout view reads it.
  Send("$$first##$$second##");
  EXPECT_EQ(Pump(kEventBound, 2), (std::vector<std::string>{"first", "second"}));

  // A one-character text is not taken; the next complete one is.
  Send("$$Z##");
  EXPECT_TRUE(Pump(150ms).empty());
  Send("$$ZZ##");
  EXPECT_EQ(Pump(kEventBound), std::vector<std::string>{"ZZ"});
  EXPECT_TRUE(prompt_->Texts().empty());
}

TEST_F(TextPortTest, OverlongFrameIsBoundedByTheBuffer) {
  MakeView();
  WaitForMonitor();
  Send("$$" + std::string(2500, 'x') + "##");
  EXPECT_TRUE(Pump(1s).empty());
  // Every byte was handed over and handled one by one.
  const auto end = std::chrono::steady_clock::now() + kEventBound;
  while (bytesHandled_ < 2504 && std::chrono::steady_clock::now() < end) Pump(10ms);
  EXPECT_EQ(bytesHandled_, 2504);
  Send("$$OK##");
  EXPECT_EQ(Pump(kEventBound), std::vector<std::string>{"OK"});
}

TEST_F(TextPortTest, OpeningFollowsTheSettings) {
  // Open flag clear: nothing is opened, and that is no error.
  MakeView({2, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(view_->GetSerialPort(), nullptr);
  EXPECT_EQ(view_->OpenRs232Port(), 1);

  // A device that cannot be opened: the error is told, the object stays.
  view_.reset();
  MakeView({4, 0, 3, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
  ::setenv("VENDRIK_COM5", (folder_ / "no-such-device").c_str(), 1);
  EXPECT_EQ(view_->OpenRs232Port(), 0);
  ::unsetenv("VENDRIK_COM5");
  EXPECT_NE(view_->GetSerialPort(), nullptr);
  EXPECT_FALSE(view_->GetSerialPort()->IsThreadAlive());
  auto texts = prompt_->Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "COM5 Open error!");

  // Index 127 opens COM128; index 128 closes the port instead.
  view_.reset();
  ::setenv("VENDRIK_COM128", pty_.SlavePath().c_str(), 1);
  MakeView({127, 0, 6, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
  ASSERT_NE(view_->GetSerialPort(), nullptr);
  WaitForMonitor();
  EXPECT_EQ(view_->GetSerialPort()->GetPortNumber(), 128);
  WriteComSettings(folder_, {128, 0, 3, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
  view_->LoadComSettings();
  EXPECT_EQ(view_->OpenRs232Port(), 1);
  EXPECT_EQ(view_->GetSerialPort(), nullptr);
}

TEST_F(TextPortTest, ReopeningAfterASettingsChangeKeepsReading) {
  MakeView();
  WaitForMonitor();
  // Changed settings: the same port object is stopped and opened again.
  WriteComSettings(folder_, {2, 2, 4, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0});
  view_->LoadComSettings();
  CSerialPort* before = view_->GetSerialPort();
  EXPECT_EQ(view_->OpenRs232Port(), 1);
  EXPECT_EQ(view_->GetSerialPort(), before);
  WaitForMonitor();
  Send("$$again##");
  EXPECT_EQ(Pump(kEventBound), std::vector<std::string>{"again"});
}

TEST_F(TextPortTest, MonitorStopsWhileWaitingForTheOwner) {
  MakeView();
  WaitForMonitor();
  // Bytes arrive but nobody handles them: the monitor thread waits in its send.
  Send("$$stuck##");
  ASSERT_TRUE(WaitUntil([this] { return self_.Size() != 0; }));
  ASSERT_EQ(self_.Size(), 1u);
  // A monitor that did not stop would hold the close here for good.
  view_->CloseRs232Port();
  EXPECT_EQ(view_->GetSerialPort(), nullptr);
  // A late byte message is handled harmlessly after the port is gone.
  while (auto m = self_.TryTake()) EXPECT_TRUE(view_->HandleMessage(*m));
  // The device is free again.
  platform::serial::SerialPort other;
  EXPECT_TRUE(other.Open(pty_.SlavePath(), platform::serial::SerialSettings{})) << other.LastError();
}

TEST_F(TextPortTest, DestroyingTheViewClosesThePort) {
  MakeView();
  WaitForMonitor();
  Send("$$gone##");
  view_->HandleMessage(platform::Message{WM_DESTROY, 0, 0, {}});
  EXPECT_EQ(view_->GetSerialPort(), nullptr);
  view_.reset();
  platform::serial::SerialPort other;
  EXPECT_TRUE(other.Open(pty_.SlavePath(), platform::serial::SerialSettings{})) << other.LastError();
}

TEST(CSerialPortTest, PortErrors) {
  auto prompt = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt);
  platform::serial::PtyPair pty;
  ASSERT_TRUE(pty.Open());
  ::setenv("VENDRIK_COM7", pty.SlavePath().c_str(), 1);
  platform::QueueMessageTarget owner;
  {
    // The device is exclusive while open.
    CSerialPort first;
    ASSERT_EQ(first.InitPort(&owner, 7, 9600, 'N', 8, 1), 1);
    CSerialPort second;
    EXPECT_EQ(second.InitPort(&owner, 7, 9600, 'N', 8, 1), 0);
    EXPECT_TRUE(prompt->Texts().empty());
  }
  {
    // A setting the device cannot take is told, and the port stays open and read.
    CSerialPort port;
    EXPECT_EQ(port.InitPort(&owner, 7, 12345, 'N', 8, 1), 1);
    auto requests = prompt->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "WARNING:  BuildCommDCB() Failed with the following error: \nInvalid argument\nPort: 7\n");
    EXPECT_EQ(requests[0].caption, "Application Error");
    EXPECT_EQ(requests[0].type, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(port.IsOpen());
    ASSERT_TRUE(port.StartMonitoring());
    EXPECT_FALSE(port.StartMonitoring());
    ASSERT_TRUE(WaitUntil([&] { return port.IsThreadAlive(); }));
    ASSERT_EQ(::write(pty.MasterFd(), "A\x01", 2), 2);
    auto m = owner.WaitTake(kEventBound);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->msg, WM_COMM_RXCHAR);
    EXPECT_EQ(m->wParam, WPARAM{'A'});
    EXPECT_EQ(m->lParam, 7);
    // The next byte waits until this one was handled.
    EXPECT_FALSE(owner.WaitTake(100ms));
    CSerialPort::MarkHandled(*m);
    m = owner.WaitTake(kEventBound);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->wParam, WPARAM{' '});
    port.StopMonitoring();
    EXPECT_TRUE(WaitUntil([&] { return !port.IsThreadAlive(); }));
    EXPECT_FALSE(port.IsOpen());  // the monitor closes the port when it stops
  }
  ::unsetenv("VENDRIK_COM7");
}


TEST(CSerialPortTest, VanishedDeviceIsToldOnceAndStillStops) {
  auto prompt = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt);
  platform::serial::PtyPair pty;
  ASSERT_TRUE(pty.Open());
  ::setenv("VENDRIK_COM9", pty.SlavePath().c_str(), 1);
  platform::QueueMessageTarget owner;
  CSerialPort port;
  ASSERT_EQ(port.InitPort(&owner, 9, 9600, 'N', 8, 1), 1);
  ASSERT_TRUE(port.StartMonitoring());
  ASSERT_TRUE(WaitUntil([&] { return port.IsThreadAlive(); }));
  pty.Close();  // the other side goes away, as an unplugged adapter does
  ASSERT_TRUE(WaitUntil([&] { return !prompt->Texts().empty(); }));
  port.StopMonitoring();
  EXPECT_TRUE(WaitUntil([&] { return !port.IsThreadAlive(); }));
  // Counted once the monitor has ended: nothing can be told after.
  const auto texts = prompt->Texts();
  ASSERT_EQ(texts.size(), 1u);
  for (const auto& t : texts) EXPECT_NE(t.find("Port: 9\n"), std::string::npos) << t;
  EXPECT_TRUE(owner.Drain().empty());
  ::unsetenv("VENDRIK_COM9");
}

}  // namespace
