// Dispatch table of element 0, the machine parameter record. It has no
// geometry: every drawing operation skips it; the project file reads and
// writes its block and copies duplicate it.
#include <memory>

#include "document/objects/CObjElement.h"
#include "document/objects/ObjTypeOps.h"
#include "document/params/CDrawProperity.h"

const CObjTypeOps& DrawProperityTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    t.className = "CDrawProperity";
    t.objectSize = static_cast<int>(sizeof(CDrawProperity));
    t.isInstance = &IsExactly<CDrawProperity>;
    t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<CDrawProperity>(); };
    t.copy = [](CObjElement&, CObjBase& dst, const CObjElement&, const CObjBase& src) {
      static_cast<CDrawProperity&>(dst) = static_cast<const CDrawProperity&>(src);
    };
    t.write = [](const CObjElement&, const CObjBase& o, MrkLineWriter& out, const std::string&) {
      static_cast<const CDrawProperity&>(o).WriteToMrk(out);
    };
    t.setField = [](CObjBase& o, int key, const MrkValue& v) { static_cast<CDrawProperity&>(o).SetByKey(key, v); };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* record = static_cast<CDrawProperity*>(o.release());
      element.AttachObject(record, static_cast<int>(sizeof(CDrawProperity)), CDoubleRect());
      record->RaisePenUpSpeed2();
    };
    return t;
  }();
  return ops;
}
