#pragma once
// The ends of items still present in a tree of boxes, each halved across its
// longer side, that counts the ends still present under every box: for the
// layouts whose ends crowd into a few places, where even cells would hold
// thousands. A search skips boxes emptied by the items taken and boxes
// farther than the nearest end found, so its cost follows the ends near the
// query, whatever the shape of the whole. Answers as NearestEndGrid does.
#include <cstddef>
#include <vector>

#include "document/path/HatchFill.h"

class NearestEndTree {
 public:
  // Boxes the ends of the items listed (ascending, all of them indexable);
  // the items must outlive the tree.
  NearestEndTree(const std::vector<HatchSegment>& items, const std::vector<long>& present);

  // The item still present whose nearer end is strictly nearest, ties to the
  // lowest index; -1 when the query cannot be measured or nothing is left.
  long Nearest(const CDoublePoint& p) const;
  // Takes out an item still present.
  void Remove(long i);

 private:
  static constexpr int kLeaf = 32;  // ends in a box that is not halved
  struct End {
    double x, y;
    long code;  // 2 x item + which end
  };
  struct Box {
    double minX, minY, maxX, maxY;  // of its ends still present
    int begin, end;                 // its ends: ends_[begin, end)
    int live;                       // those of items still present
  };
  // The part of the plane a box was cut from: no end outside it is in the box.
  struct Cell {
    double minX, minY, maxX, maxY;
  };
  struct Best {
    double distance;
    long item;
    double limit;  // boxes reaching farther, squared, hold nothing as near
    std::size_t leaf;
  };
  static bool IsLeaf(const Box& b) { return b.end - b.begin <= kLeaf; }

  // Box b's bounds to its ends from begin to end (at least one).
  void FitBounds(Box& b, std::size_t begin, std::size_t end) const;
  void Split(std::size_t box, std::size_t begin, std::size_t end, const Cell& cell);
  void DropEnd(std::size_t at);
  void SearchFrom(std::size_t box, const CDoublePoint& p, Best& best) const;

  // The halves of box b are boxes 2b + 1 and 2b + 2; a box of few ends is
  // not halved. An item's second end is left out when it lies on the first.
  // where_ finds an end's entry by its code, -1 when left out or taken;
  // leafOf_ the box not halved that holds an entry. A leaf's ends still
  // present come first.
  std::vector<End> ends_;
  std::vector<Box> boxes_;
  std::vector<long> where_;
  std::vector<int> leafOf_;
  std::vector<Cell> cells_;
  mutable std::size_t finger_ = 0;  // the leaf of the last answer, where the next search starts
};
