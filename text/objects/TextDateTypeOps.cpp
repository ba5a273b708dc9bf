// Dispatch table of the date (type 15).
#include "text/objects/CObjTextDate.h"
#include "text/objects/TextTypeOpsCommon.h"

namespace {

CObjTextDate& Date(CObjBase& o) { return static_cast<CObjTextDate&>(o); }

}  // namespace

const CObjTypeOps& TextDateTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t = CommonTextTypeOps<CObjTextDate>("CObjTextDate");
    // The date is recorded as it stands.
    t.getText = [](const CObjBase& o) { return static_cast<const CObjTextDate&>(o).GetText(); };
    t.copy = [](CObjElement& dst, CObjBase& dstObj, const CObjElement&, const CObjBase& srcObj) {
      CObjTextDate& date = Date(dstObj);
      const auto& source = static_cast<const CObjTextDate&>(srcObj);
      date.CopyFrom(source);
      date.GetPathData().SetOwner(&dst);
      date.SetText(source.FormatDate(), date.GetFixedPoint(dst.boundRect), true);
      date.RecalcPath();
      if (source.IsUnchangedSinceRead()) date.KeepSaved(source.GetSavedBounds());
    };
    t.beforeStepNodes = [](CObjElement& element, CObjBase& o) {
      // A time of day is marked as it is when the needle gets there.
      CObjTextDate& date = Date(o);
      if (date.GetFormat() != 12) return;
      const std::string now = date.FormatDate();
      if (now == date.GetText()) return;
      date.GetPathData().SetOwner(&element);
      date.SetText(now, date.GetFixedPoint(element.boundRect), true);
      date.RecalcPath();
    };
    // After each marked object the date shows the clock again.
    t.advanceAfterMark = [](CObjElement& element, CObjBase& o) {
      CObjTextDate& date = Date(o);
      date.GetPathData().SetOwner(&element);
      date.SetText(date.FormatDate(), date.GetFixedPoint(element.boundRect), true);
      date.RecalcPath();
      return true;
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* date = static_cast<CObjTextDate*>(o.release());
      const CDoubleRect saved = element.boundRect;
      date->SetText(date->FormatDate(), date->GetFixedPoint(saved), true);
      AttachReadText(element, date, saved);
    };
    t.finishReadEmpty = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* date = static_cast<CObjTextDate*>(o.release());
      AttachUnlaidText(element, date, date->FormatDate());
    };
    return t;
  }();
  return ops;
}
