#pragma once
// Type 8: a regular polygon given by its centre, circumradius, number of sides
// and the angle of its first vertex. The object keeps these parameters and
// regenerates its closed vertex path from them after every change of shape;
// moving and rotating transform the vertices and the parameters together.
#include <cstdint>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/objects/CObjBase.h"
#include "document/objects/ParametricShape.h"
#include "document/path/CPathData.h"

class MrkLineWriter;
struct MrkValue;
struct CObjTypeOps;

// The polygon tool's dialog.
struct MultiBorderDialogRecord {
  CDoublePoint centre;
  double radius = 10.0;
  double startAngle = 60.0;  // degrees
  int sides = 6;
};

class CObjMultiBorder : public CObjBase {
 public:
  // Fewest and most sides a polygon is generated with. More than this many
  // vertices would only make a circle of a damaged file's count.
  static constexpr int kMinSides = 3;
  static constexpr int kMaxSides = 1000;

  // A hexagon of radius 10 mm, first vertex at 60 degrees; no points until BuildPath.
  CObjMultiBorder() = default;
  explicit CObjMultiBorder(const MultiBorderDialogRecord& record);
  ~CObjMultiBorder() override = default;

  // Regenerates the vertices and the closing vertex, mirrored as the flags say.
  void BuildPath();
  void RebuildFill();
  // Takes the shape of source (its mirror flags included, so the copy
  // regenerates as it is drawn); stroke groups are not copied.
  void Copy(const CObjMultiBorder& source);
  void Offset(double dx, double dy);
  // Handle resize: the radius takes the mean of the two factors, so the
  // polygon stays regular; both rectangles then hold the new bounds.
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
  double GetRadius() const { return radius_; }
  void SetRadius(double radius) { radius_ = radius; }
  int GetSides() const { return sides_; }
  void SetSides(int sides);  // kept within kMinSides .. kMaxSides
  double GetStartAngle() const { return startAngle_; }
  void SetStartAngle(double degrees) { startAngle_ = degrees; }
  std::uint8_t GetMirrorFlags() const { return mirrorFlags_; }
  void SetMirrorFlags(std::uint8_t flags) { mirrorFlags_ = flags; }

 private:
  // The vertices and the closing vertex, before mirroring.
  void GenerateVertices(CPointList& out) const;
  // Moves the centre, along the axes asked, so that regenerating lands on
  // the vertices drawn now (see CentreShiftToDrawn).
  void AnchorCentreToPoints(bool alongX, bool alongY);

  std::uint8_t mirrorFlags_ = 0;
  CDoublePoint centre_;
  double radius_ = 10.0;
  CPathData path_;
  int sides_ = 6;
  double startAngle_ = 60.0;  // degrees, kept in [0, 360) by rotation
};

// Dispatch table of the multi-border (type 8); registered at start-up.
const CObjTypeOps& MultiBorderTypeOps();
