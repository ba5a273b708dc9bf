#include "libs/ravelpen/MoveList.h"

#include <climits>
#include <cmath>

#include "libs/ravelpen/PlotterSettings.h"

namespace ravelpen {

long long RoundAway(double value) {
  const double truncated = std::trunc(value);
  const double rest = value - truncated;
  if (rest >= 0.5) return static_cast<long long>(truncated) + 1;
  if (rest <= -0.5) return static_cast<long long>(truncated) - 1;
  return static_cast<long long>(truncated);
}

int MoveList::Append(double x, double y, bool penDown) {
  std::lock_guard<std::mutex> lock(mutex_);
  const PlotterSettings& s = Settings();
  if (nodes_.empty()) {
    switch (s.originCorner) {
      case 0: currentX_ = -s.rangeX / 2; currentY_ = s.rangeY / 2; break;
      case 1: currentX_ = -s.rangeX / 2; currentY_ = -s.rangeY / 2; break;
      case 2: currentX_ = s.rangeX / 2; currentY_ = s.rangeY / 2; break;
      case 3: currentX_ = s.rangeX / 2; currentY_ = -s.rangeY / 2; break;
      default: break;  // corner 4 starts where the last list ended
    }
    startX_ = currentX_;
    startY_ = currentY_;
    stepsX_ = 0;
    stepsY_ = 0;
  }
  const double perMm = 1000.0 / s.stepLength;
  const double targetX = (x - startX_) * perMm;
  const double targetY = (y - startY_) * perMm;
  // Targets far outside any machine (or not numbers at all) have no steps.
  if (!std::isfinite(targetX) || !std::isfinite(targetY) || std::fabs(targetX) > 1e15 || std::fabs(targetY) > 1e15) {
    nodes_.clear();
    return 0;
  }
  const long long toX = RoundAway(targetX);
  const long long toY = RoundAway(targetY);
  const long long dx = toX - stepsX_;
  const long long dy = toY - stepsY_;
  if (std::llabs(dx) > INT_MAX || std::llabs(dy) > INT_MAX) {
    nodes_.clear();
    return 0;
  }
  MoveNode node;
  node.flags = static_cast<std::uint8_t>((dx < 0 ? kMoveXNegative : 0) | (dy >= 0 ? kMoveYPositive : 0) |
                                         (penDown ? kMovePenDown : 0));
  node.dx = static_cast<int>(std::llabs(dx));
  node.dy = static_cast<int>(std::llabs(dy));
  nodes_.push_back(node);
  stepsX_ = toX;
  stepsY_ = toY;
  currentX_ = x;
  currentY_ = y;
  return 1;
}

std::vector<MoveNode> MoveList::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<MoveNode> taken;
  taken.swap(nodes_);
  return taken;
}

void MoveList::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  nodes_.clear();
}

bool MoveList::Empty() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return nodes_.empty();
}

std::size_t MoveList::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return nodes_.size();
}

std::vector<MoveNode> MoveList::Nodes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return nodes_;
}

double MoveList::CurrentX() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return currentX_;
}

double MoveList::CurrentY() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return currentY_;
}

MoveList& Moves() {
  static MoveList list;
  return list;
}

}  // namespace ravelpen
