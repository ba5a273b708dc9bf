// The simulated board as its own program, the way scripts/run.sh starts it.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/serial/SerialPort.h"
#include "tests/support/WaitFor.h"

extern char** environ;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Starts the board program with a link and a control FIFO; pid 0 on failure.
pid_t StartBoard(const std::string& link, const std::string& control, std::vector<std::string> extra = {}) {
  const std::string program = std::string(VENDRIK_BINARY_DIR) + "/tools/vendrik-boardsim";
  std::vector<std::string> args{program, "--link", link, "--control", control};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return 0;
  WaitUntil([&] { return fs::exists(link) && fs::exists(control); });
  return pid;
}

std::string TempBase(const std::string& tag) {
  return (fs::temp_directory_path() / ("vendrik-sim-" + std::to_string(::getpid()) + tag)).string();
}

// Reads until want bytes came or the time is up (the bound for bytes that
// should come; a short time for bytes that should not).
std::vector<unsigned char> ReadFor(platform::serial::SerialPort& port, std::size_t want,
                                   std::chrono::milliseconds within = kEventBound) {
  std::vector<unsigned char> got;
  const auto end = std::chrono::steady_clock::now() + within;
  while (got.size() < want && std::chrono::steady_clock::now() < end) {
    unsigned char buf[64];
    long n = port.Read(buf, sizeof buf, 50);
    if (n > 0) got.insert(got.end(), buf, buf + n);
  }
  return got;
}

}  // namespace

TEST(BoardSimProgram, ServesALinkTakesFaultsAndSendsTheStartKey) {
  const std::string base = TempBase("");
  const std::string link = base + ".tty", control = base + ".ctl";
  const pid_t pid = StartBoard(link, control, {"--pace", "--fault", "corrupt:2"});
  ASSERT_NE(pid, 0);

  platform::serial::SerialPort port;
  ASSERT_TRUE(port.Open(link, {})) << port.LastError();
  const unsigned char tt[8] = {0, 0, 0, 0, 0, 0, 'T', 'T'};
  const std::vector<unsigned char> ttReply{0x0B, 0x0C, 'T', 'T', 0xFD, 0xFE};
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(port.Write(tt, 8));
  EXPECT_EQ(ReadFor(port, 6), ttReply);
  EXPECT_GE(std::chrono::steady_clock::now() - t0, 6ms) << "14 bytes at 19200 baud take over 7 ms";

  ASSERT_TRUE(port.Write(tt, 8));
  EXPECT_EQ(ReadFor(port, 6), (std::vector<unsigned char>{0x0B, 0x0C, 'T' ^ 0x5A, 'T' ^ 0x5A, 0xFD, 0xFE}));

  int fd = ::open(control.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  const std::string lines = "fault drop 1\nhandkey\n";
  ASSERT_EQ(::write(fd, lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
  ::close(fd);
  EXPECT_EQ(ReadFor(port, 8), (std::vector<unsigned char>{0x0B, 0x0C, 'H', 'K', 'E', 'Y', 0xFD, 0xFE}));
  ASSERT_TRUE(port.Write(tt, 8));
  EXPECT_TRUE(ReadFor(port, 1, 300ms).empty()) << "the dropped reply";
  ASSERT_TRUE(port.Write(tt, 8));
  EXPECT_EQ(ReadFor(port, 6), ttReply);

  port.Close();
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "the link goes with the board";
  EXPECT_FALSE(fs::exists(control));
}

// However the board is ended (Ctrl-C, kill, or the terminal closing), it
// removes its link and control FIFO.
class BoardSimSignal : public ::testing::TestWithParam<int> {};

TEST_P(BoardSimSignal, EndsCleanlyAndRemovesItsFiles) {
  const std::string base = TempBase("-sig" + std::to_string(GetParam()));
  const std::string link = base + ".tty", control = base + ".ctl";
  const pid_t pid = StartBoard(link, control);
  ASSERT_NE(pid, 0);
  ASSERT_TRUE(fs::exists(fs::symlink_status(link)));
  ::kill(pid, GetParam());
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  EXPECT_FALSE(fs::exists(fs::symlink_status(control)));
  fs::remove(link);
  fs::remove(control);
}

INSTANTIATE_TEST_SUITE_P(Signals, BoardSimSignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });
