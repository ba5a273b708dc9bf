// Dispatch table of the ruler (type 22).
#include "text/objects/CObjTextRuler.h"
#include "text/objects/TextTypeOpsCommon.h"

const CObjTypeOps& TextRulerTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t = CommonTextTypeOps<CObjTextRuler>("CObjTextRuler");
    // Not a text of the marking records.
    t.getText = nullptr;
    t.storeMarkedText = nullptr;
    t.copy = [](CObjElement& dst, CObjBase& dstObj, const CObjElement&, const CObjBase& srcObj) {
      auto& ruler = static_cast<CObjTextRuler&>(dstObj);
      const auto& source = static_cast<const CObjTextRuler&>(srcObj);
      ruler.CopyFrom(source);
      ruler.GetPathData().SetOwner(&dst);
      ruler.CreatePoints(ruler.GetFixedPoint(dst.boundRect), true);
      if (source.IsUnchangedSinceRead()) ruler.KeepSaved(source.GetSavedBounds());
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* ruler = static_cast<CObjTextRuler*>(o.release());
      const CDoubleRect saved = element.boundRect;
      ruler->GetPathData().SetOwner(&element);
      ruler->CreatePoints(ruler->GetFixedPoint(saved), true);
      AttachReadText(element, ruler, saved);
    };
    t.finishReadEmpty = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      AttachUnlaidText(element, static_cast<CObjTextRuler*>(o.release()));
    };
    return t;
  }();
  return ops;
}
