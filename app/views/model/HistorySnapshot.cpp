#include "app/views/model/HistorySnapshot.h"

#include <locale>
#include <sstream>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ObjectType.h"
#include "platform/NumberText.h"
#include "text/objects/CObjTextRuler.h"

namespace {

// Heads the part after the end marker; the last one in the bytes is ours,
// whatever a text of the layout may hold.
constexpr std::string_view kRulerMarksLine = "\r\nRuler marks (not in project files)\r\n";

}  // namespace

std::string FormatHistorySnapshot(const CObjPtrArray& objects, const std::string& path) {
  std::string bytes = FormatMrkFile(objects, path);
  bytes += kRulerMarksLine.substr(2);
  // One line per ruler: its place among the elements written, its marks.
  int written = 0;
  for (const CObjElement* element : objects) {
    if (element == nullptr) continue;
    const auto* ruler = element->type == OBJ_RULER ? element->GetObjectAs<CObjTextRuler>() : nullptr;
    if (ruler != nullptr) {
      const RulerMarks& m = ruler->Marks();
      bytes += platform::FormatC("%d %d %d\r\n", written, m.startEnd, m.oneWay);
    }
    ++written;
  }
  return bytes;
}

void RestoreUnsavedSettings(std::string_view snapshot, CObjPtrArray& objects) {
  const std::size_t at = snapshot.rfind(kRulerMarksLine);
  if (at == std::string_view::npos) return;
  std::istringstream lines(std::string(snapshot.substr(at + kRulerMarksLine.size())));
  lines.imbue(std::locale::classic());
  int index = 0;
  RulerMarks m;
  while (lines >> index >> m.startEnd >> m.oneWay) {
    CObjElement* element = objects.GetAt(index);
    auto* ruler = element != nullptr && element->type == OBJ_RULER ? element->GetObjectAs<CObjTextRuler>() : nullptr;
    if (ruler != nullptr) ruler->Marks() = m;
  }
}
