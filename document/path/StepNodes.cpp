#include "document/path/StepNodes.h"

#include <climits>
#include <cmath>
#include <new>

#include "document/geometry/CDoubleRect.h"
#include "document/geometry/SharedHelpers.h"
#include "document/params/CDrawProperity.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/CStrokePath.h"
#include "document/path/NearestEndGrid.h"

std::atomic<int> RotateMark{0};
std::atomic<int> YReplacesZ{0};
std::atomic<int> ThreeAxisRotate{0};
std::atomic<int> NoSeekOriginXY{0};
CDoublePoint LastRotaryPoint;

namespace {

int Magnitude(int n) { return n == INT_MIN ? INT_MAX : (n < 0 ? -n : n); }

bool SameXY(const CDoublePoint& a, const CDoublePoint& b) { return a.x == b.x && a.y == b.y; }

// Writes the points of a stroke path into out in marking order: a closed
// contour from its vertex nearest to the current point round to it again, an
// open stroke forwards, or backwards when reached at its last point.
void OrientForMarking(const CPointList& pts, bool fromLast, const CDoublePoint& current, CPointList& out) {
  out.RemoveAll();
  const int n = pts.GetSize();
  if (n == 0) return;
  if (n > 1 && SameXY(pts[0], pts[n - 1])) {
    int k = 0;
    double best = PointDistance(current, pts[0]);
    for (int i = 1; i < n; ++i) {
      const double d = PointDistance(current, pts[i]);
      if (d < best) {
        best = d;
        k = i;
      }
    }
    for (int i = k; i <= n - 2; ++i) out.Add(pts[i]);
    for (int i = 0; i < k; ++i) out.Add(pts[i]);
    if (out.GetSize() == 0) out.Add(pts[0]);  // degenerate: every point is the same
    out.Add(out[0]);
    for (int i = 0; i < out.GetSize(); ++i)
      out[i].flag = static_cast<std::uint8_t>(i == 0 ? (out[i].flag & ~PT_JOINED) : (out[i].flag | PT_JOINED));
    return;
  }
  if (!fromLast) {
    out.Copy(pts);
    return;
  }
  for (int i = n - 1; i >= 0; --i) out.Add(pts[i]);
  for (int i = out.GetSize() - 1; i >= 0; --i) {
    if (!(out[i].flag & PT_JOINED)) {
      out[i].flag = static_cast<std::uint8_t>(out[i].flag | PT_JOINED);
      break;
    }
  }
  out[0].flag = static_cast<std::uint8_t>(out[0].flag & ~PT_JOINED);
}

// The two ends by which a path can be reached (the first twice for one point).
HatchSegment PathEnds(const CStrokePath& path) {
  const CPointList& pts = path.points;
  return HatchSegment{pts[0], pts[pts.GetSize() > 1 ? pts.GetSize() - 1 : 0]};
}

// Appends nodes for one target after another, keeping the current point and
// the carries consistent: the current point always moves to the target,
// whether or not the move produced a node, because the carry already holds
// what was not stepped. (Leaving the current point behind counted that
// fraction again in the next move.)
class NodeAppender {
 public:
  NodeAppender(StepNode*& head, CDoublePoint& current, int& nodeCount, double xLen, double yLen)
      : head_(head), current_(current), count_(nodeCount), xLen_(xLen), yLen_(yLen) {
    tail_ = head_;
    while (tail_ && tail_->next) tail_ = tail_->next;
  }

  // Returns the new node, or null when the move rounded to nothing.
  StepNode* Append(double xSteps, double ySteps, int callerFlags, const CDoublePoint& target) {
    // A point that is not a number is skipped: the next move starts from
    // where the head really is.
    if (!std::isfinite(xSteps) || !std::isfinite(ySteps) || !std::isfinite(target.x) || !std::isfinite(target.y))
      return nullptr;
    StepNode* appended = nullptr;
    if (AddStepNode(tail_, xSteps, ySteps, xCarry_, yCarry_, xLen_, yLen_, callerFlags)) {
      if (!head_) head_ = tail_;
      ++count_;
      appended = tail_;
    }
    current_ = target;
    return appended;
  }

  StepNode* AppendPlain(const CDoublePoint& p, int callerFlags) {
    return Append((p.x - current_.x) * 1000 / xLen_, (p.y - current_.y) * 1000 / yLen_, callerFlags, p);
  }

  // Leaves the current point where the head really is: the target minus what
  // the carries still hold (valid while both axes step by their step lengths).
  void SettleCurrent() {
    current_.x -= xCarry_ / 1000;
    current_.y -= yCarry_ / 1000;
    xCarry_ = yCarry_ = 0;
  }

  const CDoublePoint& Current() const { return current_; }

 private:
  StepNode*& head_;
  CDoublePoint& current_;
  int& count_;
  double xLen_, yLen_;
  StepNode* tail_ = nullptr;
  double xCarry_ = 0, yCarry_ = 0;
};

int PointCallerFlags(const CDoublePoint& p, bool dotGroup) {
  return (p.flag & PT_JOINED ? SN_CALL_DRAWN : 0) | (dotGroup ? SN_CALL_DOT : 0);
}

}  // namespace

int AddStepNode(StepNode*& tail, double xSteps, double ySteps, double& xCarry, double& yCarry, double xStepLength,
                double yStepLength, int callerFlags) {
  const int nx = QuantizeSteps(xSteps, xCarry, xStepLength);
  const int ny = QuantizeSteps(ySteps, yCarry, yStepLength);
  if (nx == 0 && ny == 0) return 0;
  StepNode* node = new (std::nothrow) StepNode;
  if (!node) return 0;
  node->stepsX = Magnitude(nx);
  node->stepsY = Magnitude(ny);
  if (nx < 0) node->flags |= SN_X_NEGATIVE;
  if (ny > 0) node->flags |= SN_Y_POSITIVE;
  if (callerFlags & SN_CALL_DRAWN) node->flags |= SN_TOOL_DOWN;
  if (callerFlags & SN_CALL_DOT) node->flags |= SN_NEEDLE_DOT;
  if (tail) tail->next = node;
  tail = node;
  return 1;
}

void FreeStepNodes(StepNode* head) {
  while (head) {
    StepNode* next = head->next;
    delete head;
    head = next;
  }
}

bool PickNearestPath(std::vector<CStrokePath*>& remaining, const CDoublePoint& current, CPointList& out) {
  out.RemoveAll();
  double best = 4e298;
  int bestIndex = -1;
  bool fromLast = false;
  for (int i = 0; i < static_cast<int>(remaining.size()); ++i) {
    const CPointList& pts = remaining[static_cast<std::size_t>(i)]->points;
    if (pts.GetSize() == 0) continue;
    const double d1 = PointDistance(current, pts[0]);
    if (d1 < best) {
      best = d1;
      bestIndex = i;
      fromLast = false;
    }
    if (pts.GetSize() > 1) {
      const double d2 = PointDistance(current, pts[pts.GetSize() - 1]);
      if (d2 < best) {
        best = d2;
        bestIndex = i;
        fromLast = true;
      }
    }
  }
  if (bestIndex < 0) {
    remaining.clear();  // only paths without points are left: nothing to mark
    return false;
  }
  CStrokePath* chosen = remaining[static_cast<std::size_t>(bestIndex)];
  remaining.erase(remaining.begin() + bestIndex);
  OrientForMarking(chosen->points, fromLast, current, out);
  return true;
}

void CPathData::BuildGroupStepNodes(StepNode*& head, const CDrawProperity& prop, CDoublePoint& current,
                                    int& nodeCount, int mode) const {
  NodeAppender nodes(head, current, nodeCount, prop.GetStepLengthX(), prop.GetStepLengthY());
  const int count = GetGroupCount();
  CPointList oriented;
  for (int n = 0; n < count; ++n) {
    const CStrokeGroup* group = GetGroupAt(mode == 1 ? n : count - 1 - n);
    const bool dotGroup = group->kind != GROUP_KIND_LINES;
    // Fill strokes are lines whatever group they belong to: no needle-dot flag.
    const CPointList& fill = group->GetFillList();
    for (int i = 0; i < fill.GetSize(); ++i) nodes.AppendPlain(fill[i], PointCallerFlags(fill[i], false));

    // Contours nearest-first from the current point; same choice as
    // PickNearestPath, through an index so that many small paths stay fast.
    std::vector<const CStrokePath*> paths;
    std::vector<HatchSegment> ends;
    for (int i = 0; i < group->GetCount(); ++i) {
      const CStrokePath* path = group->GetAt(i);
      if (path->points.GetSize() == 0) continue;
      paths.push_back(path);
      ends.push_back(PathEnds(*path));
    }
    NearestEndGrid grid(ends);
    while (!grid.Empty()) {
      const long k = grid.Nearest(nodes.Current());
      const auto u = static_cast<std::size_t>(k);
      const bool fromLast = PointDistance(nodes.Current(), ends[u].second) < PointDistance(nodes.Current(), ends[u].first);
      grid.Remove(k);
      OrientForMarking(paths[u]->points, fromLast, nodes.Current(), oriented);
      for (int i = 0; i < oriented.GetSize(); ++i) nodes.AppendPlain(oriented[i], PointCallerFlags(oriented[i], dotGroup));
    }
  }
  nodes.SettleCurrent();
}

void CPathData::BuildStepNodes(StepNode*& head, const CDrawProperity& prop, CDoublePoint& current, int& nodeCount,
                               bool& firstObject, const CDoubleRect& objectBounds, int mode) const {
  if (mode != 0) {
    BuildGroupStepNodes(head, prop, current, nodeCount, mode);
    return;
  }
  const bool rotate = RotateMark.load() != 0;
  const bool yrz = YReplacesZ.load() != 0;
  const bool three = ThreeAxisRotate.load() != 0;
  const bool noSeek = NoSeekOriginXY.load() != 0;
  const bool forLine = prop.IsRotateForLine() != 0;
  const double lx = prop.GetStepLengthX(), ly = prop.GetStepLengthY();
  const double f = prop.GetRotaryFactor(), D = prop.GetWorkDiameter();
  const double seekX = prop.GetMachineDouble1();
  const double ocx = objectBounds.CenterX(), ocy = objectBounds.CenterY();

  NodeAppender nodes(head, current, nodeCount, lx, ly);
  const CDoublePoint& c = nodes.Current();
  // Point moves: the rotary drive takes the axis standing in for Z while
  // rotary marking runs in two-axis mode.
  auto append = [&](const CDoublePoint& p, int callerFlags) {
    double xs = (p.x - c.x) * 1000 / lx;
    double ys = (p.y - c.y) * 1000 / ly;
    if (rotate && !three) {
      if (yrz)
        ys = (p.y - c.y) * 1000 * f / D;
      else
        xs = (p.x - c.x) * 1000 * f / D;
    }
    return nodes.Append(xs, ys, callerFlags, p);
  };

  int running = 0;  // caller flags of the last point
  bool firstGroup = true;
  for (int g = 0; g < GetGroupCount(); ++g) {
    const CStrokeGroup* group = GetGroupAt(g);
    const CDoubleRect box = group->GetBoundRect();
    const double bx = box.CenterX(), by = box.CenterY();

    if (rotate) {
      CDoublePoint target(bx, by);
      double xs = 0, ys = 0;
      bool seek = true;
      const bool wasFirstObject = firstObject;
      if (firstObject) {
        xs = (forLine && !yrz) ? (seekX - c.x) * 1000 / ly : (bx - c.x) * 1000 / lx;
        const double ty = (forLine && yrz) ? seekX : by;
        ys = (ty - c.y) * 1000 / ((forLine && yrz) ? lx : ly);
        if (noSeek) {
          if (yrz)
            ys = 0;
          else
            xs = 0;
        }
        if (forLine) target = yrz ? CDoublePoint(bx, ocy) : CDoublePoint(ocx, by);
        LastRotaryPoint = target;
      } else if (forLine) {
        seek = firstGroup;
        if (yrz) {
          target = CDoublePoint(bx, ocy);
          xs = (bx - c.x) * 1000 / lx;
          ys = (ocy - c.y) * 1000 * f / D;
        } else {
          target = CDoublePoint(ocx, by);
          xs = (ocx - c.x) * 1000 * f / D;
          ys = (by - c.y) * 1000 / ly;
        }
      } else if (yrz) {
        xs = (bx - c.x) * 1000 / lx;
        ys = (by - c.y) * 1000 * f / D;
      } else {
        xs = (bx - c.x) * 1000 * f / D;
        ys = (by - c.y) * 1000 / ly;
      }
      if (seek) {
        if (StepNode* node = nodes.Append(xs, ys, running & ~(SN_CALL_DRAWN | SN_CALL_DOT), target)) {
          node->flags |= three ? SN_ROTARY_3AXIS : SN_ROTARY_2AXIS;
          if (wasFirstObject) {
            node->flags = static_cast<std::uint8_t>((node->flags & ~SN_ROTARY_3AXIS) | SN_POSITIONING);
            firstObject = false;
          }
        }
      }
    }

    const CPointList& fill = group->GetFillList();
    for (int i = 0; i < fill.GetSize(); ++i) {
      running = PointCallerFlags(fill[i], false);
      if (StepNode* node = append(fill[i], running); node && rotate && !three) node->flags |= SN_ROTARY_2AXIS;
    }
    const bool dotGroup = group->kind != GROUP_KIND_LINES;
    for (int k = 0; k < group->GetCount(); ++k) {
      const CPointList& pts = group->GetAt(k)->points;
      for (int i = 0; i < pts.GetSize(); ++i) {
        running = PointCallerFlags(pts[i], dotGroup);
        if (StepNode* node = append(pts[i], running); node && !three) node->flags |= SN_ROTARY_2AXIS;
      }
    }
    if (rotate && three && !forLine) {
      if (StepNode* node = nodes.AppendPlain(CDoublePoint(bx, by), 0)) node->flags |= SN_POSITIONING;
    }
    firstGroup = false;
  }

  if (rotate && forLine) {
    const CDoublePoint target = yrz ? CDoublePoint(c.x, ocy) : CDoublePoint(ocx, c.y);
    if (StepNode* node = append(target, running & ~SN_CALL_DRAWN); node && !three) node->flags |= SN_ROTARY_2AXIS;
  }
  // With the rotary drive in play the axes do not all step by their step
  // lengths, so the carries cannot be turned back into millimetres.
  if (!rotate) nodes.SettleCurrent();
}
