// Which objects a job marks, in which classes, and whether they fit the work
// area.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>

#include "values/ShellValues.h"
#include "document/geometry/CPointList.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "document/objects/MarkedBounds.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "document/path/PathListHelpers.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/controller/ControllerState.h"
#include "platform/Prompt.h"

namespace {

std::string RedEdgeName(int n) {
  char text[32];
  std::snprintf(text, sizeof text, "RedEdge-%d", n);
  return text;
}

// A temporary open polyline through the points, for the border passes.
std::unique_ptr<CObjElement> NewPolylineElement(CPointList& points, const std::string& name) {
  auto* polyline = new CObjPolyLine(points, 0, 0);
  CObjCreateRecord create;
  create.name = name;
  create.type = OBJ_POLYLINE;
  create.object = polyline;
  create.objectSize = static_cast<int>(sizeof(CObjPolyLine));
  create.bounds = GetPointArrayBoundRect(points);
  auto element = std::make_unique<CObjElement>(std::move(create));
  element->RefreshTypeObject();
  element->UpdateBoundRect();
  return element;
}

}  // namespace

void CMarkControlWnd::ClearJobList() {
  jobList_.clear();
  for (auto& list : classList_) list.clear();
  jobCount_ = 0;
  tempObjects_.clear();
}

CObjElement* CMarkControlWnd::MakeBorderObject(const CDoubleRect& r, const std::string& name) {
  CPointList points;
  points.Add(CDoublePoint(r.left, r.top, 0));
  points.Add(CDoublePoint(r.right, r.top, 1));
  points.Add(CDoublePoint(r.right, r.bottom, 1));
  points.Add(CDoublePoint(r.left, r.bottom, 1));
  points.Add(CDoublePoint(r.left, r.top, 1));
  tempObjects_.push_back(NewPolylineElement(points, name));
  jobList_.push_back(tempObjects_.back().get());
  return jobList_.back();
}

CObjElement* CMarkControlWnd::MakeOutlineObject(CObjElement* element, const std::string& name) {
  // Texts standing on an arc are outlined along their arc; a text that has
  // none to give gets its bounding rectangle.
  CPointList border;
  element->GetTextArcBorder(border);
  if (border.GetSize() < 2) return MakeBorderObject(element->GetBoundRect(), name);
  tempObjects_.push_back(NewPolylineElement(border, name));
  jobList_.push_back(tempObjects_.back().get());
  return jobList_.back();
}

void CMarkControlWnd::BuildJobList(int mode) {
  ClearJobList();
  if (RotateMark.load()) mode = MARK_MODE_MARK;
  const int count = ElementCount();
  std::vector<CObjElement*> chosen;
  if (mode != MARK_MODE_MARK) {
    if (view_) chosen = view_->GetSelection();
    chosen.erase(std::remove(chosen.begin(), chosen.end(), nullptr), chosen.end());
  }
  auto allObjects = [&] {
    std::vector<CObjElement*> all;
    for (int i = 1; i < count; ++i)
      if (CObjElement* e = Element(i)) all.push_back(e);
    return all;
  };
  // Each object's place in the document (its first, should it stand there
  // twice), found once for all rather than searched for each object.
  std::unordered_map<CObjElement*, int> places;
  bool placed = false;
  auto indexOf = [&](CObjElement* e) {
    if (!placed) {
      placed = true;
      for (int i = count - 1; i >= 1; --i)
        if (CObjElement* at = Element(i)) places[at] = i;
    }
    const auto found = places.find(e);
    return found == places.end() ? 0 : found->second;
  };

  switch (mode) {
    case MARK_MODE_MARK: {
      const bool inputBit6 = (LastInputByte.load() & 0x40) != 0;
      for (CObjElement* e : allObjects()) {
        if (e->id == 0 || (e->id == 1 && inputBit6) || (e->id == 2 && !inputBit6)) jobList_.push_back(e);
      }
      break;
    }
    case MARK_MODE_BORDER: {
      if (chosen.empty()) chosen = allObjects();
      for (CObjElement* e : chosen) {
        const std::string name = RedEdgeName(indexOf(e));
        if (e->HasTextArcRadius2()) MakeOutlineObject(e, name);
        else MakeBorderObject(e->GetBoundRect(), name);
      }
      break;
    }
    case MARK_MODE_ORBIT:
      jobList_ = chosen.empty() ? allObjects() : chosen;
      break;
    case MARK_MODE_MAX_BORDER: {
      const std::string name = RedEdgeName(100);
      if (chosen.size() == 1) {
        CObjElement* e = chosen.front();
        if (e->HasTextArcRadius2()) MakeOutlineObject(e, name);
        else MakeBorderObject(e->GetBoundRect(), name);
      } else if (chosen.empty()) {
        // Nothing selected: every object that is marked.
        MakeBorderObject(MarkedBounds(allObjects()).Rect(), name);
      } else {
        // Several: the selection as it stands.
        BoundsUnion bounds;
        for (CObjElement* e : chosen) bounds.Add(e->GetBoundRect());
        MakeBorderObject(bounds.Rect(), name);
      }
      break;
    }
    default:
      break;
  }
}

int CMarkControlWnd::CheckRange(CDrawProperity& record) {
  BoundsUnion jobBounds = MarkedBounds(jobList_);
  if (record.IsStartBackRoad()) {
    for (const CDoublePoint& p : {record.GetStartPath(0), record.GetStartPath(1), record.GetResetPath(0),
                                  record.GetResetPath(1)}) {
      jobBounds.Add(CDoubleRect(p.x, p.y, p.x, p.y));
    }
  }
  const CDoubleRect bounds = jobBounds.Rect();
  jobBounds_ = bounds;
  const double w = record.GetRangeX() / 2;
  const double h = record.GetRangeY() / 2;
  const bool rotary = RotateMark.load() != 0;
  const bool checkX = !(rotary && !YReplacesZ.load());
  const bool checkY = !(rotary && YReplacesZ.load());
  const char* error = nullptr;
  if (checkX && !(bounds.right < w)) error = "Right out of range!";
  else if (checkX && !(bounds.left > -w)) error = "Left out of range!";
  else if (checkY && !(bounds.bottom > -h)) error = "Bottom out of range!";
  else if (checkY && !(bounds.top < h)) error = "Top out of range!";
  if (error) {
    platform::MessageBox(error);
    return 0;
  }

  const double bw = bounds.Width() * PixelsPerMmX;
  const double bh = bounds.Height() * PixelsPerMmY;
  double scale = 1.0;
  if (bw > 0 && bh > 0) scale = std::min((displayWidth_ - 10) / bw, (displayHeight_ - 10) / bh);
  else if (bw > 0) scale = (displayWidth_ - 10) / bw;
  else if (bh > 0) scale = (displayHeight_ - 10) / bh;
  previewScale_ = static_cast<float>(scale);
  previewOffsetX_ = -bounds.CenterX();
  previewOffsetY_ = -bounds.CenterY();
  previewCentreX_ = displayWidth_ / 2;
  previewCentreY_ = displayHeight_ / 2;
  return 1;
}

void CMarkControlWnd::SortObjectsByClass() {
  for (auto& list : classList_) list.clear();
  jobCount_ = 0;
  for (CObjElement* e : jobList_) {
    if (e->type == OBJ_PICTURE || e->GetFlag2() || !e->IsMarkEnabled()) continue;
    std::atomic_ref<int>(e->flag).store(0);
    if (e->layer < 0 || e->layer >= kClassCount) continue;
    classList_[e->layer].push_back(e);
    ++jobCount_;
  }
}

CObjElement* CMarkControlWnd::PickNearestObject(std::vector<CObjElement*>& list, const CDoublePoint& position,
                                                int& direction) {
  direction = 0;
  double best = 4e298;
  std::size_t winner = list.size();
  for (std::size_t i = 0; i < list.size(); ++i) {
    const double toStart = list[i]->DistanceToStart(position);
    if (toStart < best) {
      best = toStart;
      winner = i;
      direction = 1;
    }
    const double toEnd = list[i]->DistanceToEnd(position);
    if (toEnd < best) {
      best = toEnd;
      winner = i;
      direction = -1;
    }
  }
  if (winner == list.size()) {
    if (list.empty()) return nullptr;
    winner = 0;
    direction = 0;
  }
  CObjElement* e = list[winner];
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(winner));
  return e;
}
