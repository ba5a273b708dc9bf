// Dispatch table of the dot collection (type 5).
#include <memory>
#include <string>

#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ObjTypeOps.h"

const CObjTypeOps& DotCollectTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CObjDotCollect";
    t.objectSize = static_cast<int>(sizeof(CObjDotCollect));
    t.isInstance = &IsExactly<CObjDotCollect>;
    t.path = [](CObjBase& o) -> CPathData* { return &static_cast<CObjDotCollect&>(o).GetPathData(); };
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<CObjDotCollect>(); };
    t.copy = [](CObjElement&, CObjBase& dst, const CObjElement&, const CObjBase& src) {
      static_cast<CObjDotCollect&>(dst).CopyFrom(static_cast<const CObjDotCollect&>(src));
    };
    t.refresh = [](CObjElement&, CObjBase& o) { static_cast<CObjDotCollect&>(o).RebuildFill(); };
    t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
      static_cast<CObjDotCollect&>(o).Resize(oldRect, newRect, handle);
    };
    t.offset = [](CObjBase& o, double dx, double dy) { static_cast<CObjDotCollect&>(o).MoveSnapped(dx, dy); };
    t.mirrorX = [](CObjBase& o, double a) { static_cast<CObjDotCollect&>(o).MirrorX(a); };
    t.mirrorY = [](CObjBase& o, double a) { static_cast<CObjDotCollect&>(o).MirrorY(a); };
    t.ownBounds = [](const CObjBase& o) { return static_cast<const CObjDotCollect&>(o).GetBoundRect(); };
    t.write = [](const CObjElement&, const CObjBase& o, MrkLineWriter& out, const std::string&) {
      static_cast<const CObjDotCollect&>(o).Write(out);
    };
    t.setField = [](CObjBase& o, int key, const MrkValue& v) { static_cast<CObjDotCollect&>(o).SetField(key, v); };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* dots = static_cast<CObjDotCollect*>(o.release());
      dots->RebuildFill();
      const CDoubleRect bounds = dots->GetBoundRect();
      element.AttachObject(dots, static_cast<int>(sizeof(CObjDotCollect)), bounds);
    };
    return t;
  }();
  return ops;
}
