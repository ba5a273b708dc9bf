#include "app/views/model/CutFillNotice.h"

#include "document/doc/CObjPtrArray.h"
#include "document/objects/CObjElement.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "platform/Cp936.h"

namespace {

constexpr char kCutFillText[] =
    "The fill of %s needs more strokes than can be marked and is left out: choose a wider fill spacing.";
constexpr char kTooManyDotsText[] =
    "The dots of %s would be more than can be marked and are not made: choose a smaller dot size or a wider dot "
    "spacing.";
constexpr char kLeftEmptyText[] =
    "The project needs more strokes or picture memory than can be held together; these objects are left empty: %s.";

// Marks the cut fills of the element told; true when one was not yet.
bool TakeUntoldCut(const CObjElement& element) {
  const CPathData* path = element.GetPath();
  if (path == nullptr) return false;
  bool untold = false;
  for (int i = 0; i < path->GetGroupCount(); ++i) {
    CStrokeGroup* group = path->GetGroupAt(i);
    if (group == nullptr || !group->fillCut || group->fillCutTold) continue;
    group->fillCutTold = true;
    untold = true;
  }
  return untold;
}

// A message box names so many objects at most; the rest are counted.
constexpr std::size_t kNamesShown = 20;

std::string Fill(const char* text, const std::vector<std::string>& cp936Names) {
  if (cp936Names.empty()) return {};
  std::string names;
  for (std::size_t i = 0; i < cp936Names.size() && i < kNamesShown; ++i) {
    if (!names.empty()) names += ", ";
    names += "\"" + platform::Cp936ToUtf8(cp936Names[i]) + "\"";
  }
  if (cp936Names.size() > kNamesShown) names += " and " + std::to_string(cp936Names.size() - kNamesShown) + " more";
  std::string filled = text;
  filled.replace(filled.find("%s"), 2, names);
  return filled;
}

}  // namespace

std::string TakeCutFillNotice(CObjPtrArray& objects) {
  std::vector<std::string> cut;
  for (int i = 0; i < objects.GetSize(); ++i)
    if (objects[i] != nullptr && TakeUntoldCut(*objects[i])) cut.push_back(objects[i]->name);
  return Fill(kCutFillText, cut);
}

std::string TooManyDotsNotice(const CObjElement& picture) { return Fill(kTooManyDotsText, {picture.name}); }

std::string LeftEmptyNotice(const std::vector<std::string>& names) { return Fill(kLeftEmptyText, names); }
