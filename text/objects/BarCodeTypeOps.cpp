// Dispatch table of the barcode (type 19).
#include "document/geometry/SharedState.h"
#include "platform/Prompt.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/TextTypeOpsCommon.h"

namespace {

CObjBarCode& Code(CObjBase& o) { return static_cast<CObjBarCode&>(o); }

// Builds the code at the fixed point of the given bounds with its text.
void BuildAt(CObjElement& element, CObjBarCode& code, const CDoubleRect& bounds, const std::string& text,
             int textSource) {
  code.GetPathData().SetOwner(&element);
  code.SetCodeText(code.GetFixedPoint(bounds), text, 1, textSource);
  code.AddTextPath();
}

}  // namespace

const CObjTypeOps& BarCodeTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t = CommonTextTypeOps<CObjBarCode>("CObjBarCode");
    t.refresh = [](CObjElement&, CObjBase& o) {
      Code(o).RecalcPath();
      Code(o).AddTextPath();
    };
    t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
      Code(o).Resize(oldRect, newRect, handle);
    };
    t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint&, double angle) { Code(o).Rotate(angle); };
    t.mirrorX = nullptr;
    t.mirrorY = nullptr;
    t.draw = [](CObjElement& element, CObjBase& o, const ElementDrawArgs& args) {
      const CObjBarCode& code = Code(o);
      code.Draw(*args.dc, args.originX, args.originY, args.zoom, CDoublePoint(args.offsetX, args.offsetY, 0));
      // The human-readable text is drawn as any text (the dots' group is not drawn).
      if (code.Code().showText) element.DrawPathOf(code.GetPathData(), args);
    };
    t.beforeStepNodes = [](CObjElement&, CObjBase& o) {
      // A part must not leave the machine without its code: say why, and
      // ask the job to stop as the stop key does.
      if (Code(o).GetDotCount() > 0) return;
      platform::MessageBox(kBarCodeEncodeError);
      MarkStatusWord.fetch_or(MSW_STOP_REQUEST);
    };
    t.copy = [](CObjElement& dst, CObjBase& dstObj, const CObjElement&, const CObjBase& srcObj) {
      CObjBarCode& code = Code(dstObj);
      const auto& source = static_cast<const CObjBarCode&>(srcObj);
      code.CopyFrom(source);
      CDoubleRect modules;
      if (!source.GetPathData().GetKind2BoundRect(modules)) modules = dst.boundRect;
      // The copy carries the source's content, fixed or composed.
      BuildAt(dst, code, modules, source.GetText(), 0);
      if (source.IsUnchangedSinceRead()) code.KeepSaved(source.GetSavedBounds());
    };
    t.advanceAfterMark = [](CObjElement& element, CObjBase& o) {
      CObjBarCode& code = Code(o);
      CDoubleRect modules;
      if (!code.GetPathData().GetKind2BoundRect(modules)) modules = element.boundRect;
      code.GetPathData().SetOwner(&element);
      return code.AdvanceAfterMark(code.GetFixedPoint(modules)) != 0;
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      auto* code = static_cast<CObjBarCode*>(o.release());
      const CDoubleRect saved = element.boundRect;
      const int source = element.dataSource;
      const bool fed = source >= 1 && source <= 3;
      std::string text;
      if (fed) {
        text = code->GetText();
      } else if (code->Code().inputMode) {
        text = code->Code().fixedText;
      } else {
        text = code->ComposeText();
      }
      BuildAt(element, *code, saved, text, source);
      element.AttachObject(code, static_cast<int>(sizeof(CObjBarCode)), code->GetPathData().GetBoundRect());
      element.UpdateBoundRect();
      code->AddTextPath();
      element.UpdateBoundRect();
      code->KeepSaved(saved);
    };
    // Its text is chosen again when it is next built.
    t.finishReadEmpty = [](CObjElement& element, std::unique_ptr<CObjBase> o, int) {
      AttachUnlaidText(element, static_cast<CObjBarCode*>(o.release()));
    };
    return t;
  }();
  return ops;
}
