#pragma once
// The layout view's selection: the selected elements in the order they were
// chosen, their bounds with the two copies the drag frame starts from, and the
// object list kept in step with it. Every command selects, clears and reads
// the selection here, so a change of how selecting works is made once; a
// feature that must follow a cleared selection registers a hook. A command
// that changed the selection shows it here too: the list selects it and the
// property pages follow, so no command links pages of its own.
//
// Reading looks like the vector it wraps (empty, size, front, begin, end);
// changing goes through Add, Clear, Set and TakeListSelection only, which keep
// each element's selected flag and the bounds right.
#include <cstddef>
#include <functional>
#include <vector>

#include "document/geometry/CDoubleRect.h"

class CObjElement;
class CProperityViewCalls;

class CViewSelection {
 public:
  using Elements = std::vector<CObjElement*>;

  // The object list the selection is mirrored in (null: none).
  void SetList(CProperityViewCalls* list) { list_ = list; }

  const Elements& GetElements() const { return elements_; }
  bool empty() const { return elements_.empty(); }
  std::size_t size() const { return elements_.size(); }
  CObjElement* front() const { return elements_.front(); }
  CObjElement* operator[](std::size_t i) const { return elements_[i]; }
  Elements::const_iterator begin() const { return elements_.begin(); }
  Elements::const_iterator end() const { return elements_.end(); }
  bool Contains(const CObjElement* element) const;

  // Union of the selected elements' cached bounds (mm, y up), and the two
  // copies a drag starts from and draws; a drag or a resize may set them.
  CDoubleRect& Bounds() { return bounds_; }
  CDoubleRect& BoundsAtDown() { return boundsAtDown_; }
  CDoubleRect& DragBounds() { return dragBounds_; }

  // Adds the element unless it is null, the parameter record or already
  // selected: its selected flag is set and the bounds grow by it. False when
  // nothing was added.
  bool Add(CObjElement* element);
  // Empties the selection and runs the cleared hooks. Unless keepFlags, each
  // element's selected flag is cleared and a B-spline leaves control-point
  // editing; keepFlags is for elements that are gone.
  void Clear(bool keepFlags = false);
  // Exactly these elements, in this order.
  void Set(const Elements& elements);
  // The bounds afresh from the elements' cached bounds, copied into both
  // drag copies.
  void UpdateBounds();

  // The list selects exactly the entries of the selected elements and the
  // pages show the selection (the work area's while nothing listed is
  // selected, as with the reference arc).
  void ShowInPane() const;
  // The list reported its selection (`reported`: the element it named). With
  // several entries selected in the list every one of them is selected, with
  // one the entry selected there; with none (no list at hand) the reported
  // element is (the parameter record selects nothing).
  void TakeListSelection(CObjElement* reported);

  // Runs after every Clear (also the one that Set begins with).
  void AddClearedHook(std::function<void()> hook) { clearedHooks_.push_back(std::move(hook)); }

 private:
  void CopyBoundsToDrag();

  Elements elements_;
  CDoubleRect bounds_;
  CDoubleRect boundsAtDown_;
  CDoubleRect dragBounds_;
  CProperityViewCalls* list_ = nullptr;
  std::vector<std::function<void()>> clearedHooks_;
};
