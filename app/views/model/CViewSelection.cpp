#include "app/views/model/CViewSelection.h"

#include <algorithm>

#include "app/views/model/CProperityViewCalls.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjElement.h"

bool CViewSelection::Contains(const CObjElement* element) const {
  return std::find(elements_.begin(), elements_.end(), element) != elements_.end();
}

bool CViewSelection::Add(CObjElement* element) {
  if (element == nullptr || element->type == OBJ_PROPERITY) return false;
  if (element->selected && Contains(element)) return false;
  element->selected = 1;
  // The bounds grow by this element alone, so selecting n objects stays linear.
  if (elements_.empty()) {
    bounds_ = element->boundRect;
  } else {
    bounds_.UnionRect(element->boundRect);
  }
  elements_.push_back(element);
  CopyBoundsToDrag();
  return true;
}

void CViewSelection::Clear(bool keepFlags) {
  if (!keepFlags) {
    for (CObjElement* element : elements_) {
      if (element == nullptr) continue;
      element->selected = 0;
      if (element->type == OBJ_BSPLINE) {
        if (auto* spline = element->GetObjectAs<CObjBSpline>()) spline->SetEditIndex(-1);
      }
    }
  }
  elements_.clear();
  bounds_.SetRectEmpty();
  CopyBoundsToDrag();
  for (const auto& hook : clearedHooks_) hook();
}

void CViewSelection::Set(const Elements& elements) {
  Clear();
  for (CObjElement* element : elements) Add(element);
}

void CViewSelection::UpdateBounds() {
  bounds_.SetRectEmpty();
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    if (i == 0) {
      bounds_ = elements_[i]->boundRect;
    } else {
      bounds_.UnionRect(elements_[i]->boundRect);
    }
  }
  CopyBoundsToDrag();
}

void CViewSelection::CopyBoundsToDrag() {
  boundsAtDown_ = bounds_;
  dragBounds_ = bounds_;
}

void CViewSelection::ShowInPane() const {
  if (list_ != nullptr) list_->ShowSelection(elements_);
}

void CViewSelection::TakeListSelection(CObjElement* reported) {
  Clear();
  const Elements listed = list_ != nullptr ? list_->SelectedListObjects() : Elements{};
  if (listed.size() > 1) {
    for (CObjElement* element : listed) Add(element);
    // The parameter record does not join a selection of several: the list
    // shows what was taken.
    ShowInPane();
  } else if (listed.size() == 1 && listed.front() != reported) {
    // The report names the entry clicked, which Ctrl took out of a selection
    // of two: the entry left selected is the selection, and its pages show.
    Add(listed.front());
    ShowInPane();
  } else {
    Add(reported);
  }
}
