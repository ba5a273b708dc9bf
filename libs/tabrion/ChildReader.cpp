#include "libs/tabrion/ChildReader.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>

#include "libs/tabrion/SheetMessage.h"

namespace tabrion {
namespace {

ChildReader::Limits& CurrentLimits() {
  static ChildReader::Limits limits;
  return limits;
}

std::function<void()>& TestHook() {
  static std::function<void()> hook;
  return hook;
}

// Virtual memory the process has now, in bytes.
std::size_t AddressSpaceInUse() {
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  unsigned long pages = 0;
  if (std::fscanf(f, "%lu", &pages) != 1) pages = 0;
  std::fclose(f);
  return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

void LimitChild(const ChildReader::Limits& limits) {
  // A crash is expected here now and then: no core file for it.
  rlimit none{0, 0};
  ::setrlimit(RLIMIT_CORE, &none);
  std::size_t budget = AddressSpaceInUse() + limits.memory;
  rlimit memory{budget, budget};
  ::setrlimit(RLIMIT_AS, &memory);
  // The parent stops the child at the deadline; the alarm is a second guard.
  ::signal(SIGALRM, SIG_DFL);
  auto seconds = std::chrono::ceil<std::chrono::seconds>(limits.time).count() + 1;
  ::alarm(static_cast<unsigned>(seconds));
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

[[noreturn]] void RunChild(int fd, const ChildReader::Read& read, const ChildReader::Limits& limits) {
  LimitChild(limits);
  bool sent = false;
  try {
    if (TestHook()) TestHook()();
    LoadedSheet sheet;
    ReadResult result = read(sheet);
    sent = WriteAll(fd, EncodeSheet(result, sheet));
  } catch (...) {
    // Memory running out under the child's limit, or any other exception,
    // must not climb into the parent's copy of the program that called here.
  }
  ::close(fd);
  // No exit handlers: they belong to the parent's copy of the program.
  ::_exit(sent ? 0 : 1);
}

// Reads the child's message until it closes the pipe or the deadline passes.
bool ReadUntil(int fd, std::chrono::steady_clock::time_point deadline, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

ChildReader::Limits ChildReader::SetLimits(Limits limits) {
  Limits old = CurrentLimits();
  CurrentLimits() = limits;
  return old;
}

std::function<void()> ChildReader::SetTestHook(std::function<void()> hook) {
  std::function<void()> old = std::move(TestHook());
  TestHook() = std::move(hook);
  return old;
}

ReadResult ChildReader::Run(const Read& read, LoadedSheet& out) {
  const Limits limits = CurrentLimits();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return ReadResult::cannotRead;
  std::fflush(nullptr);  // nothing buffered is written twice
  pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return ReadResult::cannotRead;
  }
  if (pid == 0) {
    ::close(fds[0]);
    RunChild(fds[1], read, limits);
  }
  ::close(fds[1]);
  std::string bytes;
  bool complete = ReadUntil(fds[0], std::chrono::steady_clock::now() + limits.time, bytes);
  ::close(fds[0]);
  if (!complete) ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return ReadResult::cannotRead;
  ReadResult result = ReadResult::cannotRead;
  LoadedSheet sheet;
  if (!DecodeSheet(bytes, result, sheet)) return ReadResult::cannotRead;
  out = std::move(sheet);
  return result;
}

}  // namespace tabrion
