// Dispatch table of the serial number (type 16).
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/TextTypeOpsCommon.h"

namespace {

CObjTextAutoUpdate& Serial(CObjBase& o) { return static_cast<CObjTextAutoUpdate&>(o); }

// The text a serial number read from a file shows: texts fed from outside
// keep what they were saved with.
std::string ReadText(const CObjElement& element, const CObjTextAutoUpdate& serial) {
  const bool fed = element.dataSource >= 1 && element.dataSource <= 3;
  return fed ? serial.GetText() : serial.ComposeText();
}

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
    // After each marked object the serial part steps; the text stays at its anchor.
    t.advanceAfterMark = [](CObjElement& element, CObjBase& o) {
      CObjTextAutoUpdate& serial = Serial(o);
      serial.GetPathData().SetOwner(&element);
      return serial.AdvanceAfterMark(serial.GetFixedPoint(element.boundRect)) != 0;
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* serial = static_cast<CObjTextAutoUpdate*>(o.release());
      const CDoubleRect saved = element.boundRect;
      serial->SetText(ReadText(element, *serial), serial->GetFixedPoint(saved), true);
      AttachReadText(element, serial, saved);
    };
    t.finishReadEmpty = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* serial = static_cast<CObjTextAutoUpdate*>(o.release());
      AttachUnlaidText(element, serial, ReadText(element, *serial));
    };
    return t;
  }();
  return ops;
}
