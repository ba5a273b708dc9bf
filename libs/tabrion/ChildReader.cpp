#include "libs/tabrion/ChildReader.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

#include "libs/tabrion/SheetMessage.h"
#include "libs/tabrion/XlsSheetReader.h"
#include "libs/tabrion/XlsxSheetReader.h"

extern char** environ;

namespace tabrion {
namespace {

// The descriptor on which the reader program writes its message.
constexpr int kMessageFd = 3;

constexpr const char* kFaultNames[] = {"none", "abort", "segfault", "hang", "exception", "grow"};

ChildReader::Limits& CurrentLimits() {
  static ChildReader::Limits limits;
  return limits;
}

ChildReader::TestFault& CurrentFault() {
  static ChildReader::TestFault fault = ChildReader::TestFault::none;
  return fault;
}

// The reader program: beside the running program (the build puts it beside
// the marking program), else where this build made it (test programs).
std::string ReaderProgram() {
  const std::filesystem::path built = VENDRIK_TABRION_READER;
  char self[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n > 0) {
    const std::filesystem::path beside = std::filesystem::path(std::string(self, static_cast<std::size_t>(n))).parent_path() / built.filename();
    if (::access(beside.c_str(), X_OK) == 0) return beside.string();
  }
  return built.string();
}

// Starts the reader program with its message descriptor on the pipe's write
// end, with no signal blocked or ignored; -1 when it cannot be started,
// with errno saying why.
// posix_spawn runs nothing of the caller's in the new process before the
// program starts: no fork handlers, no allocation, no lock.
pid_t SpawnReader(const std::vector<std::string>& arguments, int writeFd) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  if (const int failed = ::posix_spawn_file_actions_init(&actions); failed != 0) {
    errno = failed;
    return -1;
  }
  posix_spawnattr_t attributes;
  if (const int failed = ::posix_spawnattr_init(&attributes); failed != 0) {
    ::posix_spawn_file_actions_destroy(&actions);
    errno = failed;
    return -1;
  }
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  pid_t pid = -1;
  const bool ready = ::posix_spawn_file_actions_adddup2(&actions, writeFd, kMessageFd) == 0 &&
                     ::posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
                     ::posix_spawnattr_setsigdefault(&attributes, &all) == 0 &&
                     ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  int failed = ready ? ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ) : EINVAL;
  ::posix_spawnattr_destroy(&attributes);
  ::posix_spawn_file_actions_destroy(&actions);
  if (failed == 0) return pid;
  errno = failed;
  return -1;
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
  auto seconds = std::chrono::ceil<std::chrono::seconds>(limits.time).count() + 1;
  ::alarm(static_cast<unsigned>(seconds));
}

void CommitFault(ChildReader::TestFault fault) {
  switch (fault) {
    case ChildReader::TestFault::none: break;
    case ChildReader::TestFault::abort: std::abort();
    case ChildReader::TestFault::segfault: std::raise(SIGSEGV); break;
    case ChildReader::TestFault::hang:
      for (;;) ::pause();
    case ChildReader::TestFault::exception: throw std::runtime_error("parser gave up");
    case ChildReader::TestFault::grow: {
      // 512 MB, every page written through a volatile pointer: memory the
      // optimiser cannot leave out.
      constexpr std::size_t kBytes = std::size_t{512} << 20;
      volatile char* block = new char[kBytes];
      for (std::size_t at = 0; at < kBytes; at += 4096) block[at] = 1;
      std::printf("%d", block[12345]);
      break;
    }
  }
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// Arguments: kind ("xls" or "xlsx"), sheet number, memory limit in bytes,
// time limit in milliseconds, the workbook's path, and for tests a fault.
std::vector<std::string> ReaderArguments(const std::string& program, const ChildReader::Request& request,
                                         const ChildReader::Limits& limits, ChildReader::TestFault fault) {
  std::vector<std::string> arguments = {program,
                                        request.kind == ChildReader::WorkbookKind::xls ? "xls" : "xlsx",
                                        std::to_string(request.sheetNumber),
                                        std::to_string(limits.memory),
                                        std::to_string(limits.time.count()),
                                        request.path};
  if (fault != ChildReader::TestFault::none) arguments.push_back(kFaultNames[static_cast<int>(fault)]);
  return arguments;
}

bool ParseReaderArguments(int argc, char** argv, ChildReader::Request& request, ChildReader::Limits& limits,
                          ChildReader::TestFault& fault) {
  if (argc != 6 && argc != 7) return false;
  const std::string_view kind = argv[1];
  if (kind != "xls" && kind != "xlsx") return false;
  request.kind = kind == "xls" ? ChildReader::WorkbookKind::xls : ChildReader::WorkbookKind::xlsx;
  long long milliseconds = 0;
  if (!ParseNumber(argv[2], request.sheetNumber) || !ParseNumber(argv[3], limits.memory) ||
      !ParseNumber(argv[4], milliseconds) || milliseconds < 0)
    return false;
  limits.time = std::chrono::milliseconds(milliseconds);
  request.path = argv[5];
  fault = ChildReader::TestFault::none;
  if (argc == 7) {
    const auto* name = std::find(std::begin(kFaultNames), std::end(kFaultNames), std::string_view(argv[6]));
    if (name == std::end(kFaultNames)) return false;
    fault = static_cast<ChildReader::TestFault>(name - std::begin(kFaultNames));
  }
  return true;
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

// Reads the child's message until it closes the pipe; false when the
// deadline passes or the message grows beyond most bytes.
bool ReadUntil(int fd, std::chrono::steady_clock::time_point deadline, std::size_t most, std::string& bytes) {
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
    if (static_cast<std::size_t>(n) > most - bytes.size()) return false;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

ChildReader::Limits ChildReader::SetLimits(Limits limits) {
  Limits old = CurrentLimits();
  CurrentLimits() = limits;
  return old;
}

ChildReader::TestFault ChildReader::SetTestFault(TestFault fault) {
  TestFault old = CurrentFault();
  CurrentFault() = fault;
  return old;
}

ReadResult ChildReader::Run(const Request& request, LoadedSheet& out) {
  const Limits limits = CurrentLimits();
  const std::vector<std::string> arguments = ReaderArguments(ReaderProgram(), request, limits, CurrentFault());
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return ReadResult::cannotRead;
  const pid_t pid = SpawnReader(arguments, fds[1]);
  const int spawnError = errno;
  ::close(fds[1]);
  if (pid < 0) {
    // Every workbook would be refused as unreadable: say where the fault is.
    std::fprintf(stderr, "The workbook reader %s cannot be started: %s\n", arguments[0].c_str(),
                 std::error_code(spawnError, std::generic_category()).message().c_str());
    ::close(fds[0]);
    return ReadResult::cannotRead;
  }
  std::string bytes;
  bool complete = ReadUntil(fds[0], std::chrono::steady_clock::now() + limits.time, limits.message, bytes);
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

void ChildReader::ReaderMain(int argc, char** argv) {
  // Only a pipe handed over by Run takes the message.
  struct stat message {};
  Request request;
  Limits limits;
  TestFault fault = TestFault::none;
  if (::fstat(kMessageFd, &message) != 0 || !S_ISFIFO(message.st_mode) || !ParseReaderArguments(argc, argv, request, limits, fault))
    ::_exit(2);
  LimitChild(limits);
  bool sent = false;
  try {
    CommitFault(fault);
    LoadedSheet sheet;
    ReadResult result = request.kind == WorkbookKind::xls ? ReadXlsSheet(request.path, request.sheetNumber, sheet)
                                                          : ReadXlsxSheet(request.path, request.sheetNumber, sheet);
    sent = WriteAll(kMessageFd, EncodeSheet(result, sheet));
  } catch (...) {
    // Memory running out under the limit, or any other exception, ends the
    // child with a failure like any other.
  }
  ::close(kMessageFd);
  // No exit handlers: the parsers' caches need no tearing down, and a leak
  // check at exit would only count them.
  ::_exit(sent ? 0 : 1);
}

}  // namespace tabrion
