#include "tools/boardsim/BoardSimRunner.h"

#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace boardsim {
namespace {

std::chrono::nanoseconds ByteTime(std::size_t n) {
  return std::chrono::nanoseconds(static_cast<long long>(n * BoardSimRunner::kByteMicros * 1000.0));
}

// Paced waits must end on time: the default timer slack of 50 microseconds
// would be paid twice on every record.
void TightTimers() { ::prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0); }

// Sleeps until the moment, spinning the last stretch that a sleep overshoots.
void WaitUntil(std::chrono::steady_clock::time_point when) {
  const auto spin = std::chrono::microseconds(200);
  auto now = std::chrono::steady_clock::now();
  if (when - now > spin) std::this_thread::sleep_until(when - spin);
  while (std::chrono::steady_clock::now() < when) {
  }
}

void WriteAll(int fd, const std::uint8_t* data, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, data, n);
    if (w > 0) {
      data += w;
      n -= static_cast<std::size_t>(w);
    } else if (w < 0 && errno != EINTR && errno != EAGAIN) {
      return;
    } else {
      ::usleep(200);
    }
  }
}

}  // namespace

BoardSimRunner::BoardSimRunner(BoardSimulator& board) : board_(board) {}

BoardSimRunner::~BoardSimRunner() { Stop(); }

bool BoardSimRunner::Start(const std::string& linkPath, bool pace) {
  Stop();
  pace_ = pace;
  if (!pty_.Open(linkPath)) return false;
  if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  board_.SetOutput([this](const Bytes& bytes, int delayMs) { Queue(bytes, delayMs); });
  running_ = true;
  reader_ = std::thread([this] { ReadLoop(); });
  writer_ = std::thread([this] { WriteLoop(); });
  return true;
}

void BoardSimRunner::Stop() {
  if (running_.exchange(false)) {
    if (wakePipe_[1] >= 0) {
      std::uint8_t b = 1;
      [[maybe_unused]] ssize_t n = ::write(wakePipe_[1], &b, 1);
    }
    // Through the writer's lock: between its look at running_ and its wait
    // the writer holds it, so the wake-up cannot fall in between and be lost.
    { std::lock_guard lock(mutex_); }
    cv_.notify_all();
    if (reader_.joinable()) reader_.join();
    if (writer_.joinable()) writer_.join();
    board_.SetOutput(nullptr);
  }
  for (int& p : wakePipe_) {
    if (p >= 0) ::close(p);
    p = -1;
  }
  pty_.Close();
  std::lock_guard lock(mutex_);
  out_.clear();
}

namespace {
thread_local bool t_onReader = false;
}

void BoardSimRunner::Queue(const Bytes& bytes, int delayMs) {
  // A reply decided while reading goes out from the reading thread: the board
  // answers as soon as the command is in, without a hand-over.
  if (t_onReader && delayMs <= 0) {
    SendNow(bytes);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    out_.push_back({Clock::now() + std::chrono::milliseconds(std::max(delayMs, 0)), bytes});
  }
  cv_.notify_all();
}

void BoardSimRunner::SendNow(const Bytes& bytes) {
  std::lock_guard lock(lineMutex_);
  const int fd = pty_.MasterFd();
  if (pace_) {
    lineFreeOut_ = std::max(lineFreeOut_, Clock::now());
    for (std::uint8_t b : bytes) {
      lineFreeOut_ += ByteTime(1);
      WaitUntil(lineFreeOut_);
      WriteAll(fd, &b, 1);
    }
  } else {
    WriteAll(fd, bytes.data(), bytes.size());
  }
}

void BoardSimRunner::ReadLoop() {
  TightTimers();
  t_onReader = true;
  const int fd = pty_.MasterFd();
  Clock::time_point lineFree = Clock::now();
  std::uint8_t buffer[512];
  while (running_) {
    pollfd p[2] = {{fd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    if (::poll(p, 2, 200) <= 0) continue;
    if (p[1].revents & POLLIN) break;
    if (!(p[0].revents & POLLIN)) {
      ::usleep(1000);
      continue;
    }
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) {
      ::usleep(1000);
      continue;
    }
    if (pace_) {
      // The bytes arrive one after another at the line rate: the command is
      // complete only when its last byte would have come in.
      lineFree = std::max(lineFree, Clock::now()) + ByteTime(static_cast<std::size_t>(n));
      WaitUntil(lineFree);
    }
    const auto nowMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
    board_.Feed(buffer, static_cast<std::size_t>(n), nowMs);
  }
}

void BoardSimRunner::WriteLoop() {
  TightTimers();
  std::unique_lock lock(mutex_);
  while (running_) {
    if (out_.empty()) {
      cv_.wait(lock, [this] { return !out_.empty() || !running_; });
      continue;
    }
    // The earliest due reply goes first.
    auto next = std::min_element(out_.begin(), out_.end(), [](const auto& a, const auto& b) { return a.due < b.due; });
    if (next->due > Clock::now()) {
      cv_.wait_until(lock, next->due);
      continue;
    }
    Pending pending = std::move(*next);
    out_.erase(next);
    lock.unlock();
    SendNow(pending.bytes);
    lock.lock();
  }
}

}  // namespace boardsim
