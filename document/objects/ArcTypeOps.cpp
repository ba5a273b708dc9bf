// Dispatch table of the arc (type 6).
#include <memory>
#include <string>

#include "document/objects/CObjArc.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ObjTypeOps.h"

const CObjTypeOps& ArcTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CObjArc";
    t.objectSize = static_cast<int>(sizeof(CObjArc));
    t.isInstance = &IsExactly<CObjArc>;
    t.path = [](CObjBase& o) -> CPathData* { return &static_cast<CObjArc&>(o).GetPathData(); };
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<CObjArc>(); };
    t.copy = [](CObjElement&, CObjBase& dst, const CObjElement&, const CObjBase& src) {
      static_cast<CObjArc&>(dst).Copy(static_cast<const CObjArc&>(src));
    };
    t.refresh = [](CObjElement&, CObjBase& o) { static_cast<CObjArc&>(o).RebuildFill(); };
    t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
      static_cast<CObjArc&>(o).Resize(oldRect, newRect, handle);
    };
    t.offset = [](CObjBase& o, double dx, double dy) { static_cast<CObjArc&>(o).Offset(dx, dy); };
    t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint& centre, double angle) {
      static_cast<CObjArc&>(o).Rotate(centre, angle);
    };
    t.mirrorX = [](CObjBase& o, double a) { static_cast<CObjArc&>(o).MirrorX(a); };
    t.mirrorY = [](CObjBase& o, double a) { static_cast<CObjArc&>(o).MirrorY(a); };
    t.write = [](const CObjElement&, const CObjBase& o, MrkLineWriter& out, const std::string&) {
      static_cast<const CObjArc&>(o).Write(out);
    };
    t.setField = [](CObjBase& o, int key, const MrkValue& v) { static_cast<CObjArc&>(o).SetField(key, v); };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* arc = static_cast<CObjArc*>(o.release());
      arc->BuildPath();
      const CDoubleRect bounds = arc->GetPathData().GetBoundRect();
      element.AttachObject(arc, static_cast<int>(sizeof(CObjArc)), bounds);
      arc->RebuildFill();
    };
    return t;
  }();
  return ops;
}
