// Dispatch table of the text (type 2).
#include <memory>
#include <string>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ObjTypeOps.h"
#include "text/objects/CObjText.h"
#include "text/objects/TextTypeOpsCommon.h"

namespace {

CObjText& Text(CObjBase& o) { return static_cast<CObjText&>(o); }
const CObjText& Text(const CObjBase& o) { return static_cast<const CObjText&>(o); }

// Lays the text out again with its fixed corner where the element's bounds
// have it, and rebuilds its groups for the element.
void Relayout(CObjElement& element, CObjText& text, const CDoubleRect& bounds) {
  text.GetPathData().SetOwner(&element);
  text.SetText(text.GetText(), text.GetFixedPoint(bounds), true);
  text.RecalcPath();
}

}  // namespace

const CObjTypeOps& TextTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CObjText";
    t.objectSize = static_cast<int>(sizeof(CObjText));
    t.isInstance = &IsExactly<CObjText>;
    t.path = [](CObjBase& o) -> CPathData* { return &Text(o).GetPathData(); };
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<CObjText>(); };
    t.copy = [](CObjElement& dst, CObjBase& dstObj, const CObjElement&, const CObjBase& srcObj) {
      CObjText& text = Text(dstObj);
      const CObjText& source = Text(srcObj);
      text.CopyFrom(source);
      Relayout(dst, text, dst.boundRect);
      // A copy of a text read from a file and not changed since is saved as it was.
      if (source.IsUnchangedSinceRead()) text.KeepSaved(source.GetSavedBounds());
    };
    t.refresh = [](CObjElement&, CObjBase& o) { Text(o).RecalcPath(); };
    t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
      Text(o).ResizeToRect(oldRect, newRect, handle);
    };
    t.offset = [](CObjBase& o, double dx, double dy) { Text(o).Offset(dx, dy); };
    t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint& centre, double angle) {
      Text(o).Rotate(angle, centre);
    };
    t.mirrorX = [](CObjBase& o, double a) { Text(o).MirrorX(a); };
    t.mirrorY = [](CObjBase& o, double a) { Text(o).MirrorY(a); };
    t.ownBounds = [](const CObjBase& o) { return Text(o).GetElementBounds(); };
    t.write = [](const CObjElement& element, const CObjBase& o, MrkLineWriter& out, const std::string&) {
      // Unchanged since it was read: the block goes back as it came.
      if (Text(o).IsUnchangedSinceRead() && !element.keptClassBlock.empty()) {
        out.WriteRaw(element.keptClassBlock);
      } else {
        Text(o).Write(out);
      }
    };
    t.setField = [](CObjBase& o, int key, const MrkValue& v) { Text(o).SetProperty(key, v); };
    t.setString = [](CObjBase& o, int key, const std::string& v) { Text(o).SetStringProperty(key, v); };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* text = static_cast<CObjText*>(o.release());
      // The reader left the saved rectangle (keys 55 to 58) in the element's bounds.
      const CDoubleRect saved = element.boundRect;
      text->SetText(text->GetText(), text->GetFixedPoint(saved), true);
      element.AttachObject(text, static_cast<int>(sizeof(CObjText)), text->GetPathData().GetBoundRect());
      text->RecalcPath();
      text->KeepSaved(saved);
      element.UpdateBoundRect();
    };
    t.finishReadEmpty = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* text = static_cast<CObjText*>(o.release());
      AttachUnlaidText(element, text, text->GetText());
    };
    t.getText = [](const CObjBase& o) { return Text(o).GetText(); };
    t.storeMarkedText = [](CObjBase& o) { Text(o).StoreMarkedText(); };
    t.textArcRadius = [](const CObjBase& o) { return static_cast<double>(Text(o).Settings().arcRadius); };
    t.textArcBorder = [](const CObjBase& o, CPointList& out) { Text(o).GetArcBorderPath(out); };
    return t;
  }();
  return ops;
}
