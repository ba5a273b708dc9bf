// Dispatch table of the multi-border (type 8).
#include <memory>
#include <string>

#include "document/objects/CObjMultiBorder.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ObjTypeOps.h"

const CObjTypeOps& MultiBorderTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CObjMultiBorder";
    t.objectSize = static_cast<int>(sizeof(CObjMultiBorder));
    t.isInstance = &IsExactly<CObjMultiBorder>;
    t.path = [](CObjBase& o) -> CPathData* { return &static_cast<CObjMultiBorder&>(o).GetPathData(); };
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<CObjMultiBorder>(); };
    t.copy = [](CObjElement&, CObjBase& dst, const CObjElement&, const CObjBase& src) {
      static_cast<CObjMultiBorder&>(dst).Copy(static_cast<const CObjMultiBorder&>(src));
    };
    t.refresh = [](CObjElement&, CObjBase& o) { static_cast<CObjMultiBorder&>(o).RebuildFill(); };
    t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
      static_cast<CObjMultiBorder&>(o).Resize(oldRect, newRect, handle);
    };
    t.offset = [](CObjBase& o, double dx, double dy) { static_cast<CObjMultiBorder&>(o).Offset(dx, dy); };
    t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint& centre, double angle) {
      static_cast<CObjMultiBorder&>(o).Rotate(centre, angle);
    };
    t.mirrorX = [](CObjBase& o, double a) { static_cast<CObjMultiBorder&>(o).MirrorX(a); };
    t.mirrorY = [](CObjBase& o, double a) { static_cast<CObjMultiBorder&>(o).MirrorY(a); };
    t.write = [](const CObjElement&, const CObjBase& o, MrkLineWriter& out, const std::string&) {
      static_cast<const CObjMultiBorder&>(o).Write(out);
    };
    t.setField = [](CObjBase& o, int key, const MrkValue& v) { static_cast<CObjMultiBorder&>(o).SetField(key, v); };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* polygon = static_cast<CObjMultiBorder*>(o.release());
      polygon->BuildPath();
      const CDoubleRect bounds = polygon->GetPathData().GetBoundRect();
      element.AttachObject(polygon, static_cast<int>(sizeof(CObjMultiBorder)), bounds);
      polygon->RebuildFill();
    };
    return t;
  }();
  return ops;
}
