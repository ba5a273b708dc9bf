// Dispatch table of the serial number (type 16).
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/TextTypeOpsCommon.h"

namespace {

CObjTextAutoUpdate& Serial(CObjBase& o) { return static_cast<CObjTextAutoUpdate&>(o); }

}  // namespace

const CObjTypeOps& TextAutoUpdateTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t = CommonTextTypeOps<CObjTextAutoUpdate>("CObjTextAutoUpdate");
    t.copy = [](CObjElement& dst, CObjBase& dstObj, const CObjElement&, const CObjBase& srcObj) {
      CObjTextAutoUpdate& serial = Serial(dstObj);
      const auto& source = static_cast<const CObjTextAutoUpdate&>(srcObj);
      serial.CopyFrom(source);
      serial.GetPathData().SetOwner(&dst);
      serial.SetText(source.ComposeText(), serial.GetFixedPoint(dst.boundRect), true);
      serial.RecalcPath();
      if (source.IsUnchangedSinceRead()) serial.KeepSaved(source.GetSavedBounds());
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* serial = static_cast<CObjTextAutoUpdate*>(o.release());
      const CDoubleRect saved = element.boundRect;
      // Texts fed from outside keep what they were saved with.
      const bool fed = element.dataSource >= 1 && element.dataSource <= 3;
      const std::string text = fed ? serial->GetText() : serial->ComposeText();
      serial->SetText(text, serial->GetFixedPoint(saved), true);
      AttachReadText(element, serial, saved);
    };
    return t;
  }();
  return ops;
}
