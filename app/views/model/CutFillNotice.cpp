#include "app/views/model/CutFillNotice.h"

#include <vector>

#include "document/doc/CObjPtrArray.h"
#include "document/objects/CObjElement.h"
#include "document/path/CPathData.h"
#include "platform/Cp936.h"

namespace {

constexpr char kCutFillText[] =
    "The fill of %s needs more strokes than can be marked and is left out: choose a wider fill spacing.";

bool FillWasCut(const CObjElement& element) {
  const CPathData* path = element.GetPath();
  return path != nullptr && path->HasCutFill();
}

std::string Notice(const std::vector<const CObjElement*>& cut) {
  if (cut.empty()) return {};
  std::string names;
  for (const CObjElement* element : cut) {
    if (!names.empty()) names += ", ";
    names += "\"" + platform::Cp936ToUtf8(element->name) + "\"";
  }
  std::string text = kCutFillText;
  text.replace(text.find("%s"), 2, names);
  return text;
}

}  // namespace

std::string CutFillNotice(const CObjPtrArray& objects) {
  std::vector<const CObjElement*> cut;
  for (int i = 0; i < objects.GetSize(); ++i)
    if (objects[i] != nullptr && FillWasCut(*objects[i])) cut.push_back(objects[i]);
  return Notice(cut);
}

std::string CutFillNotice(const CObjElement& element) {
  return Notice(FillWasCut(element) ? std::vector<const CObjElement*>{&element} : std::vector<const CObjElement*>{});
}
