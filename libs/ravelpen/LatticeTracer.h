#pragma once
// Tracing a picture's outline pixels into polylines the way the tracing
// steps do (thinning on the grid, nearest-neighbour ordering in tiles,
// cutting at the jumps, nearest-neighbour ordering of each polyline with
// near points dropped, corners kept), with the same points in the same
// order, but worked on the pixel lattice: every point lies on a lattice of
// 1/8 mm, so distances are compared as whole squares, and the next point is
// nearly always one of the eight pixels around the current one, which the
// outline lattice names directly. A wider search is made only when none of
// them is left near enough.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "libs/ravelpen/NearestPointIndex.h"
#include "libs/ravelpen/OutlineLattice.h"
#include "libs/ravelpen/TraceSteps.h"

namespace ravelpen {

class LatticeTracer {
 public:
  // True when the points of a picture this size are held exactly in the
  // single precision of TracePoint, which the lattice relies on.
  static bool Fits(std::size_t width, std::size_t height);

  // The polylines of the outline, centred on the integer middle of its
  // extremes, 0.25 mm a pixel.
  void Trace(const OutlineLattice& lattice, TracePolylineArray& result);

 private:
  // One greedy nearest-neighbour ordering of `members` (a list, in its order,
  // every one active in state_ and numbered by place_ in list order) from
  // point `current`, written to out; returns the number written.
  std::size_t Walk(const std::uint32_t* members, std::size_t count, std::uint32_t current, bool remove,
                   std::uint32_t* out);
  // The nearest active point of the list to `current`, by a search of it all.
  std::uint32_t FarNearest(std::uint32_t current);
  void Take(std::uint32_t g);
  // The first point of the list still in it.
  std::uint32_t First();
  void OrderPath();
  void CutAndOrder(TracePolylineArray& result);

  // 1 when the thinning moves the point with these pixels around half a
  // pixel up and right: those to its right and above are outline pixels.
  static std::int32_t MovedBy(std::uint32_t around) {
    return static_cast<std::int32_t>((around >> OutlineLattice::Bit(1, 0)) & (around >> OutlineLattice::Bit(0, 1)) & 1);
  }
  std::int32_t Moved(std::uint32_t g) const { return (state_[g] >> 3) & 1; }
  // Position of point g in 1/8 mm.
  std::int32_t X(std::uint32_t g) const { return 2 * (lattice_->X(g) - cx_) + Moved(g); }
  std::int32_t Y(std::uint32_t g) const { return 2 * (lattice_->Row(g) - cr_) + Moved(g); }
  static TracePoint OnLattice(std::int32_t x, std::int32_t y) {
    return {static_cast<float>(x) * 0.125f, static_cast<float>(y) * 0.125f, 0.0f};
  }
  TracePoint PointOf(std::uint32_t g) const { return OnLattice(X(g), Y(g)); }

  const OutlineLattice* lattice_ = nullptr;
  std::int32_t cx_ = 0, cr_ = 0;
  // Per point: flags (active, queued, joined, moved), place in its list,
  // place in the ordered path.
  std::vector<std::uint8_t> state_;
  std::vector<std::uint32_t> place_, pathPlace_;
  // The ordered path, the list being walked, its order (n points each, left
  // unset until written).
  std::unique_ptr<std::uint32_t[]> path_, members_, ordered_;
  std::vector<std::uint32_t> tileStart_, queue_;
  std::vector<TracePoint> indexPoints_;
  NearestPointIndex index_;

  // The list being walked.
  const std::uint32_t* walked_ = nullptr;
  std::size_t count_ = 0, first_ = 0, remaining_ = 0, scanned_ = 0;
  bool indexed_ = false;
};

}  // namespace ravelpen
