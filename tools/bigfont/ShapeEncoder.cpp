#include "tools/bigfont/ShapeEncoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr std::uint8_t kEnd = 0, kPenDown = 1, kPenUp = 2, kMove = 8, kMoves = 9;
constexpr int kLongestStep = 127;

// The sixteen directions of a vector byte, in halves of a unit.
constexpr std::array<std::array<int, 2>, 16> kHalfDirections = {{{2, 0}, {2, 1}, {2, 2}, {1, 2},
                                                                  {0, 2}, {-1, 2}, {-2, 2}, {-2, 1},
                                                                  {-2, 0}, {-2, -1}, {-2, -2}, {-1, -2},
                                                                  {0, -2}, {1, -2}, {2, -2}, {2, -1}}};

// A step cut into pieces no longer than a byte holds, on the line of the step.
std::vector<GridStep> Pieces(int dx, int dy) {
  const int n = std::max(1, (std::max(std::abs(dx), std::abs(dy)) + kLongestStep - 1) / kLongestStep);
  std::vector<GridStep> out;
  int x = 0, y = 0;
  for (int k = 1; k <= n; ++k) {
    const int nx = static_cast<int>(std::lround(static_cast<double>(dx) * k / n));
    const int ny = static_cast<int>(std::lround(static_cast<double>(dy) * k / n));
    out.push_back({nx - x, ny - y});
    x = nx;
    y = ny;
  }
  return out;
}

void PutPair(std::vector<std::uint8_t>& out, const GridStep& s) {
  out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(s.x)));
  out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(s.y)));
}

// One step on its own: a vector, else code 8.
void PutStep(std::vector<std::uint8_t>& out, const GridStep& s) {
  if (const std::uint8_t v = VectorByte(s.x, s.y)) {
    out.push_back(v);
    return;
  }
  out.push_back(kMove);
  PutPair(out, s);
}

// Pen-down steps at least cost: outside a run a step is a vector (1 byte) or
// a code 8 (3 bytes); a run costs its code 9 byte, 2 bytes a step and the
// closing (0, 0) pair.
void PutDrawnSteps(std::vector<std::uint8_t>& out, const std::vector<GridStep>& steps) {
  const std::size_t n = steps.size();
  constexpr int kOut = 0, kIn = 1;
  constexpr int kFar = 1 << 29;
  // cost[i][state]: bytes for steps before i, being in that state before step i.
  std::vector<std::array<int, 2>> cost(n + 1, {kFar, kFar});
  std::vector<std::array<int, 2>> from(n + 1, {kOut, kOut});
  cost[0] = {0, 1};
  for (std::size_t i = 0; i < n; ++i) {
    const int single = VectorByte(steps[i].x, steps[i].y) != 0 ? 1 : 3;
    // Step i taken outside a run, or inside one; then the state after it may
    // switch (open a run: 1 byte; close it: 2 bytes).
    const std::array<int, 2> after = {cost[i][kOut] + single, cost[i][kIn] + 2};
    for (int next : {kOut, kIn}) {
      for (int state : {kOut, kIn}) {
        const int switchCost = state == next ? 0 : (next == kIn ? 1 : 2);
        const int c = after[state] + switchCost;
        if (c < cost[i + 1][next]) {
          cost[i + 1][next] = c;
          from[i + 1][next] = state;
        }
      }
    }
  }
  // The state each step is taken in, from the end (which is outside a run).
  std::vector<int> state(n);
  int s = kOut;
  for (std::size_t i = n; i > 0; --i) {
    s = from[i][s];
    state[i - 1] = s;
  }
  bool inRun = false;
  for (std::size_t i = 0; i < n; ++i) {
    if (state[i] == kIn && !inRun) {
      out.push_back(kMoves);
      inRun = true;
    } else if (state[i] == kOut && inRun) {
      out.push_back(0);
      out.push_back(0);
      inRun = false;
    }
    if (inRun) {
      PutPair(out, steps[i]);
    } else {
      PutStep(out, steps[i]);
    }
  }
  if (inRun) {
    out.push_back(0);
    out.push_back(0);
  }
}

void PutPenUpMove(std::vector<std::uint8_t>& out, int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  for (const GridStep& piece : Pieces(dx, dy)) PutStep(out, piece);
}

}  // namespace

std::uint8_t VectorByte(int dx, int dy) {
  const int length = std::max(std::abs(dx), std::abs(dy));
  if (length < 1 || length > 15) return 0;
  for (int d = 0; d < 16; ++d) {
    if (kHalfDirections[d][0] * length == 2 * dx && kHalfDirections[d][1] * length == 2 * dy) {
      return static_cast<std::uint8_t>(length << 4 | d);
    }
  }
  return 0;
}

std::vector<std::uint8_t> EncodeShape(const std::vector<GridContour>& contours, int advance) {
  std::vector<std::uint8_t> out;
  GridStep at{0, 0};
  bool penDown = false;
  for (const GridContour& contour : contours) {
    if (contour.size() < 2) continue;
    if (penDown) out.push_back(kPenUp);
    PutPenUpMove(out, contour[0].x - at.x, contour[0].y - at.y);
    out.push_back(kPenDown);
    penDown = true;
    std::vector<GridStep> steps;
    for (std::size_t k = 1; k <= contour.size(); ++k) {
      const GridStep& a = contour[k - 1];
      const GridStep& b = contour[k % contour.size()];
      for (const GridStep& piece : Pieces(b.x - a.x, b.y - a.y))
        if (piece.x != 0 || piece.y != 0) steps.push_back(piece);
    }
    PutDrawnSteps(out, steps);
    at = contour[0];
  }
  if (penDown) out.push_back(kPenUp);
  PutPenUpMove(out, advance - at.x, -at.y);
  out.push_back(kEnd);
  return out;
}
