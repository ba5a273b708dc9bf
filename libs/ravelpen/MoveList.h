#pragma once
// The job's list of step moves. Each append turns a target in millimetres
// into whole steps from where the previous move ended; the rounding left over
// is carried into the next move, so many short moves end where their targets
// add up to.
#include <cstdint>
#include <mutex>
#include <vector>

namespace ravelpen {

// Flag bits of a move.
constexpr std::uint8_t kMoveXNegative = 0x01;
constexpr std::uint8_t kMoveYPositive = 0x02;
constexpr std::uint8_t kMovePenDown = 0x04;

struct MoveNode {
  std::uint8_t flags = 0;
  int dx = 0;  // X steps, 0 or more
  int dy = 0;  // Y steps, 0 or more
};

class MoveList {
 public:
  // Appends a move to (x, y) mm; the first move of a list starts at the start
  // corner of the origin (corner 4: where the previous list ended). Returns
  // 1, or 0 when the steps no longer fit (the whole list is dropped then).
  int Append(double x, double y, bool penDown);

  // Hands the moves over to playback and starts a new list.
  std::vector<MoveNode> Take();
  void Clear();
  bool Empty() const;
  std::size_t Size() const;
  std::vector<MoveNode> Nodes() const;

  // Where the last appended move ended, mm.
  double CurrentX() const;
  double CurrentY() const;

 private:
  mutable std::mutex mutex_;
  std::vector<MoveNode> nodes_;
  double currentX_ = 0.0;
  double currentY_ = 0.0;
  // Where the list started, and the steps given since, per axis.
  double startX_ = 0.0;
  double startY_ = 0.0;
  long long stepsX_ = 0;
  long long stepsY_ = 0;
};

// The one move list of the process.
MoveList& Moves();

// Round half away from zero.
long long RoundAway(double value);

}  // namespace ravelpen
