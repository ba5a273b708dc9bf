// Dispatch table of the VIN (type 17).
#include "text/objects/CObjTextVin.h"
#include "text/objects/TextTypeOpsCommon.h"

const CObjTypeOps& TextVinTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t = CommonTextTypeOps<CObjTextVin>("CObjTextVin");
    t.copy = [](CObjElement& dst, CObjBase& dstObj, const CObjElement&, const CObjBase& srcObj) {
      auto& vin = static_cast<CObjTextVin&>(dstObj);
      const auto& source = static_cast<const CObjTextVin&>(srcObj);
      vin.CopyFrom(source);
      vin.GetPathData().SetOwner(&dst);
      vin.SetText(vin.GetText(), vin.GetFixedPoint(dst.boundRect), true);
      vin.RecalcPath();
      if (source.IsUnchangedSinceRead()) vin.KeepSaved(source.GetSavedBounds());
    };
    t.advanceAfterMark = [](CObjElement& element, CObjBase& o) {
      auto& vin = static_cast<CObjTextVin&>(o);
      vin.GetPathData().SetOwner(&element);
      return vin.AdvanceAfterMark(vin.GetFixedPoint(element.boundRect)) != 0;
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* vin = static_cast<CObjTextVin*>(o.release());
      const CDoubleRect saved = element.boundRect;
      vin->SetText(vin->GetText(), vin->GetFixedPoint(saved), true);
      AttachReadText(element, vin, saved);
    };
    t.finishReadEmpty = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* vin = static_cast<CObjTextVin*>(o.release());
      AttachUnlaidText(element, vin, vin->GetText());
    };
    return t;
  }();
  return ops;
}
