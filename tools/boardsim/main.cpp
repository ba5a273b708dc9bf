// vendrik-boardsim: the simulated controller board on a pseudo-terminal.
//
//   vendrik-boardsim [--link PATH] [--pace] [--framed] [--origin-status N]
//                    [--fault KIND:N[:MS]]... [--control FIFO] [--log]
//
// KIND is drop, corrupt, delay, resend or stop; N counts replies from the
// start (1 = the first reply). The control FIFO takes lines while running:
//   fault KIND N [MS]   (N counted from now: 1 = the next reply)
//   handkey             (send the start key report)
//   variant plain|framed
//   status              (print what the board received)
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sstream>
#include <string>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/boardsim/BoardSimRunner.h"
#include "tools/boardsim/BoardSimulator.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vendrik-boardsim [--link PATH] [--pace] [--framed] [--origin-status N]\n"
               "                        [--fault KIND:N[:MS]]... [--control FIFO] [--log]\n"
               "KIND: drop corrupt delay resend stop\n");
  return 2;
}

bool ParseFault(const std::string& text, boardsim::Fault& fault) {
  std::string kind, n, ms;
  std::istringstream in(text);
  std::getline(in, kind, ':');
  std::getline(in, n, ':');
  std::getline(in, ms, ':');
  if (!boardsim::ParseFaultKind(kind, fault.kind)) return false;
  fault.reply = n.empty() ? 1 : std::atoi(n.c_str());
  fault.delayMs = ms.empty() ? 1000 : std::atoi(ms.c_str());
  return fault.reply >= 1;
}

void PrintStatus(const boardsim::BoardSimulator& board) {
  std::string commands;
  for (const auto& c : board.Commands()) commands += c + " ";
  std::fprintf(stderr, "boardsim: %zu moves, %d replies, %d checksum errors; commands: %s\n", board.Moves().size(),
               board.RepliesSent(), board.ChecksumErrors(), commands.c_str());
}

void ControlLine(const std::string& line, boardsim::BoardSimulator& board) {
  std::istringstream in(line);
  std::string word;
  in >> word;
  if (word == "fault") {
    std::string kind;
    boardsim::Fault fault;
    in >> kind >> fault.reply;
    if (!(in >> fault.delayMs)) fault.delayMs = 1000;
    if (boardsim::ParseFaultKind(kind, fault.kind)) board.QueueFault(fault);
    else std::fprintf(stderr, "boardsim: unknown fault '%s'\n", kind.c_str());
  } else if (word == "handkey") {
    board.SendHandKey();
  } else if (word == "variant") {
    std::string v;
    in >> v;
    board.SetVariant(v == "framed" ? boardsim::Variant::Framed : boardsim::Variant::Plain);
  } else if (word == "status") {
    PrintStatus(board);
  } else if (!word.empty()) {
    std::fprintf(stderr, "boardsim: unknown control '%s'\n", line.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string link, control;
  bool pace = false, log = false;
  boardsim::BoardConfig config;
  std::vector<boardsim::Fault> faults;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (a == "--link") {
      const char* v = value();
      if (!v) return Usage();
      link = v;
    } else if (a == "--pace") {
      pace = true;
    } else if (a == "--framed") {
      config.variant = boardsim::Variant::Framed;
    } else if (a == "--origin-status") {
      const char* v = value();
      if (!v) return Usage();
      config.originStatus = static_cast<std::uint8_t>(std::strtol(v, nullptr, 0));
    } else if (a == "--fault") {
      const char* v = value();
      boardsim::Fault fault;
      if (!v || !ParseFault(v, fault)) return Usage();
      faults.push_back(fault);
    } else if (a == "--control") {
      const char* v = value();
      if (!v) return Usage();
      control = v;
    } else if (a == "--log") {
      log = true;
    } else {
      return Usage();
    }
  }

  boardsim::BoardSimulator board(config);
  for (const auto& f : faults) board.QueueFault(f);
  // A closed terminal (SIGHUP) ends the board like Ctrl-C: the link and the
  // control FIFO are removed on the way out. The signals stay blocked in
  // every thread and are read from a descriptor in the main loop, so none
  // is left waiting on a thread that may sleep a long time.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, sig);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  const int signalFd = ::signalfd(-1, &stopSignals, SFD_NONBLOCK | SFD_CLOEXEC);
  if (signalFd < 0) {
    std::fprintf(stderr, "boardsim: cannot watch the stop signals\n");
    return 1;
  }
  boardsim::BoardSimRunner runner(board);
  if (!runner.Start(link, pace)) {
    std::fprintf(stderr, "boardsim: %s\n", runner.LastError().c_str());
    return 1;
  }
  std::printf("%s\n", runner.DevicePath().c_str());
  std::fflush(stdout);
  int controlFd = -1;
  if (!control.empty()) {
    ::unlink(control.c_str());
    if (::mkfifo(control.c_str(), 0600) != 0) {
      std::fprintf(stderr, "boardsim: cannot make control FIFO %s\n", control.c_str());
      return 1;
    }
    controlFd = ::open(control.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);  // RDWR: never sees end of file
  }
  std::string pendingLine;
  std::size_t loggedCommands = 0;
  for (;;) {
    pollfd p[2] = {{signalFd, POLLIN, 0}, {controlFd, POLLIN, 0}};
    const int ready = ::poll(p, controlFd >= 0 ? 2 : 1, 100);
    if (ready > 0 && (p[0].revents & POLLIN)) break;
    if (ready > 0 && controlFd >= 0 && (p[1].revents & POLLIN)) {
      char buffer[256];
      ssize_t n = ::read(controlFd, buffer, sizeof buffer);
      for (ssize_t i = 0; i < n; ++i) {
        if (buffer[i] == '\n') {
          ControlLine(pendingLine, board);
          pendingLine.clear();
        } else {
          pendingLine += buffer[i];
        }
      }
    }
    if (log) {
      const auto commands = board.Commands();
      for (; loggedCommands < commands.size(); ++loggedCommands)
        std::fprintf(stderr, "boardsim: %s\n", commands[loggedCommands].c_str());
    }
  }
  runner.Stop();
  ::close(signalFd);
  if (controlFd >= 0) {
    ::close(controlFd);
    ::unlink(control.c_str());
  }
  if (log) PrintStatus(board);
  return 0;
}
