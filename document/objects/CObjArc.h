#pragma once
// Type 6: an elliptical arc or a full ellipse. The object keeps its centre,
// radii, start and end angle, rotation and mirror flags and regenerates its
// points from them after every change of shape; moving and rotating transform
// the points and the parameters together.
//
// The path's flag is the arc's pointed flag: a pointed arc (made by the
// two-point reference-arc tool) ends on its last whole step, without the end
// point of a partial arc or the closing point of a full one.
#include <cstdint>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/objects/CObjBase.h"
#include "document/objects/ParametricShape.h"
#include "document/path/CPathData.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

// The arc tool and the reference-arc tool.
struct ArcDialogRecord {
  int pointed = 0;
  CDoublePoint centre;
  double xRadius = 10.0;
  double yRadius = 10.0;
  int lockRatio = 0;
};

// The border of text arranged on an arc: a circular arc walked in one direction.
struct ArcImportRecord {
  CDoublePoint centre;
  int direction = 0;  // non-zero: clockwise
  double radius = 10.0;
  double startAngle = 0;  // degrees
  double endAngle = 360;
};

// The arc of a ruler.
struct ArcRulerRecord {
  int pointed = 0;
  CDoublePoint centre;
  double radius = 10.0;
  double startAngle = 0;  // degrees
  double endAngle = 360;
};

class CObjArc : public CObjBase {
 public:
  // Defaults: radii 10 mm, 0 to 360 degrees; no points until BuildPath.
  CObjArc() = default;
  explicit CObjArc(const ArcDialogRecord& record);
  explicit CObjArc(const ArcImportRecord& record);
  explicit CObjArc(const ArcRulerRecord& record);
  ~CObjArc() override = default;

  // Regenerates the points from the parameters (closing, rotation, mirror).
  void BuildPath();
  // The open border of arc-arranged text; direction non-zero runs clockwise.
  // No closing point, rotation or mirroring.
  void BuildPathDirected(int direction);
  // Appends a point, joined to the previous one unless it is the first.
  void AddPathPoint(const CDoublePoint& p);
  // Takes the shape of source (its mirror flags and pointed flag included,
  // so the copy regenerates as it is drawn); stroke groups are not copied.
  void Copy(const CObjArc& source);
  void RebuildFill();
  void Offset(double dx, double dy);
  // Handle resize: radii and centre scale; both rectangles then hold the new bounds.
  void Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle);
  void Rotate(const CDoublePoint& centre, double radians);
  void MirrorX(double axis);
  void MirrorY(double axis);
  void MirrorPointsX(double axis);
  void MirrorPointsY(double axis);
  void SetField(int key, const MrkValue& value);
  void Write(MrkLineWriter& out) const;

  CPathData& GetPathData() { return path_; }
  const CPathData& GetPathData() const { return path_; }

  // Parameters, for the property pages; call BuildPath and RebuildFill after
  // changing the shape.
  const CDoublePoint& GetCentre() const { return centre_; }
  void SetCentre(const CDoublePoint& centre) { centre_ = centre; }
  double GetXRadius() const { return xRadius_; }
  double GetYRadius() const { return yRadius_; }
  void SetRadii(double xRadius, double yRadius) {
    xRadius_ = xRadius;
    yRadius_ = yRadius;
  }
  float GetStartAngle() const { return startAngle_; }
  float GetEndAngle() const { return endAngle_; }
  void SetAngles(float startDegrees, float endDegrees) {
    startAngle_ = startDegrees;
    endAngle_ = endDegrees;
  }
  float GetRotation() const { return rotation_; }
  void SetRotation(float degrees) { rotation_ = degrees; }
  int GetLockRatio() const { return lockRatio_; }
  void SetLockRatio(int lock) { lockRatio_ = lock; }
  std::uint8_t GetMirrorFlags() const { return mirrorFlags_; }
  void SetMirrorFlags(std::uint8_t flags) { mirrorFlags_ = flags; }
  int IsPointed() const { return path_.flag != 0 ? 1 : 0; }
  void SetPointed(int pointed) { path_.flag = pointed ? 1 : 0; }

 private:
  // Radii below 0.5 mm (or not numbers) become 2 mm, the field included.
  void FixSmallRadii();
  // The point of the ellipse at t radians.
  CDoublePoint PointAt(double t) const;
  // The points of the arc from its angles, before rotation and mirroring.
  void GeneratePoints(CPointList& out) const;
  // Moves the centre, along the axes asked, so that regenerating lands on
  // the points drawn now (see CentreShiftToDrawn).
  void AnchorCentreToPoints(bool alongX, bool alongY);

  CPathData path_;
  CDoublePoint centre_;
  std::uint8_t mirrorFlags_ = 0;
  int lockRatio_ = 0;  // the property page's lock-ratio switch; kept, not used here
  double xRadius_ = 10.0;
  double yRadius_ = 10.0;
  float startAngle_ = 0;   // degrees, counter-clockwise from +x
  float endAngle_ = 360;   // degrees
  float rotation_ = 0;     // degrees, kept in (-360, 360)
};

// Dispatch table of the arc (type 6); registered at start-up.
const CObjTypeOps& ArcTypeOps();
