// Dispatch table of the B-spline (type 23): the polyline's entries where the
// spline keeps them (copy, offset, the project file's keys), its own where
// the curve has to follow the control points.
#include <memory>

#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjElement.h"
#include "document/objects/VertexObject.h"

const CObjTypeOps& BSplineTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t;
    FillVertexTypeOps<CObjBSpline>(t, "CObjBSpline");
    t.copy = [](CObjElement& dstElement, CObjBase& dst, const CObjElement&, const CObjBase& src) {
      auto& spline = static_cast<CObjBSpline&>(dst);
      spline.Copy(static_cast<const CObjBSpline&>(src));
      // The curve is not copied but regenerated, so the duplicate can be drawn at once.
      spline.GetPathData().SetOwner(&dstElement);
      spline.RebuildCurve();
    };
    t.refresh = [](CObjElement&, CObjBase& o) { static_cast<CObjBSpline&>(o).RebuildCurve(); };
    // Control points and curve turn together; nothing is regenerated.
    t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint& centre, double angle) {
      static_cast<CObjBSpline&>(o).GetPathData().Rotate(centre, angle);
    };
    t.draw = [](CObjElement& element, CObjBase& o, const ElementDrawArgs& args) {
      auto& spline = static_cast<CObjBSpline&>(o);
      element.DrawPathOf(spline.GetPathData(), args);
      if (element.selected && args.dc) spline.DrawControlPoints(*args.dc, args.originX, args.originY, args.zoom);
    };
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int fileVersion) {
      auto* spline = static_cast<CObjBSpline*>(o.release());
      const CDoubleRect bounds = spline->GetPathData().GetBoundRect();
      spline->CloseOldFormat(fileVersion == 1 ? 1 : 0);
      element.AttachObject(spline, static_cast<int>(sizeof(CObjBSpline)), bounds);
      spline->RebuildCurve();
    };
    return t;
  }();
  return ops;
}
