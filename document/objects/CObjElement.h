#pragma once
// The document's wrapper of one drawing object: everything common to all
// objects (name, marking switches, delays, layer, fill settings, cached
// bounds) and the object itself, which it owns. Every operation on the object
// goes through here and is dispatched by the type code.
#include <cstdint>
#include <string>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "document/objects/CObjBase.h"
#include "document/objects/ObjTypeOps.h"
#include "document/objects/ObjectType.h"
#include "platform/DeviceContext.h"

class CDrawProperity;
class CPathData;
class MrkLineWriter;
struct MrkValue;
struct StepNode;

// Attribute byte bits.
constexpr std::uint8_t ATTR_MARK = 0x01;           // mark this object (also picks the drawing pen)
constexpr std::uint8_t ATTR_FLAG2 = 0x04;          // set and read by the view and the marking code
constexpr std::uint8_t ATTR_FILL = 0x08;           // hatch fill on
constexpr std::uint8_t ATTR_DISCARD_BORDER = 0x10; // mark the hatch only, not the outline

// What the creation commands hand over: the element owns the object when
// objectSize is positive (and leaves it alone otherwise).
struct CObjCreateRecord {
  std::string name;
  int type = OBJ_NONE;
  CObjBase* object = nullptr;
  int objectSize = 0;
  CDoubleRect bounds;
};

class CObjElement {
 public:
  CObjElement();
  explicit CObjElement(CObjCreateRecord record);
  CObjElement(const CObjElement&) = delete;  // duplicates are made with CopyFrom
  CObjElement& operator=(const CObjElement&) = delete;
  virtual ~CObjElement();

  // Gives the element its object (an owned one it had is deleted first).
  void AttachObject(CObjBase* object, int objectSize, const CDoubleRect& bounds);
  void BindPathOwner();
  CObjBase* GetObject() const { return object_; }
  int GetObjectSize() const { return objectSize_; }
  // The object when it is owned and really of class T, else null.
  template <class T>
  T* GetObjectAs() const {
    return object_ && objectSize_ > 0 ? dynamic_cast<T*>(object_) : nullptr;
  }
  // The path of the owned object; null for classes without one.
  CPathData* GetPath() const;

  // Project reader: element keys 60..64, 106..111, 160..165, 190 and 201.
  void SetByKey(int key, const MrkValue& value);
  // Project reader: hands a class key to the object's setter.
  void SetObjectField(int key, const MrkValue& value);
  // Project writer: the element block with the object's class block inside.
  void WriteToMrk(MrkLineWriter& out) const;
  // The same for pictures: no query key, and the picture embeds its file.
  void WriteSpecialToMrk(MrkLineWriter& out, const std::string& projectPath) const;
  // The object's class block alone (nothing for classes without one).
  void WriteClassBlock(MrkLineWriter& out, const std::string& projectPath = {}) const;

  // Attribute byte.
  int IsMarkEnabled() const { return attribute & ATTR_MARK ? 1 : 0; }
  int GetFlag2() const { return attribute & ATTR_FLAG2 ? 1 : 0; }
  int IsFillOn() const { return attribute & ATTR_FILL ? 1 : 0; }
  int IsDiscardBorder() const { return attribute & ATTR_DISCARD_BORDER ? 1 : 0; }
  void SetMarkEnabled(int on) { SetBit(ATTR_MARK, on); }
  void ToggleMarkEnabled() { attribute ^= ATTR_MARK; }
  void SetFlag2(int on) { SetBit(ATTR_FLAG2, on); }
  std::uint8_t SetFillOn(int on) { return SetBit(ATTR_FILL, on); }
  std::uint8_t SetDiscardBorder(int on) { return SetBit(ATTR_DISCARD_BORDER, on); }
  void GetFillParams(int& discardBorder, int& fillOn, float& angle, float& spacing) const;
  // Stores angle and spacing, flips the fill switch and rebuilds a polyline's fill.
  void ToggleFill(float angle, float spacing);

  // Queries.
  bool IsTextType(int requireDataSource) const;
  double DistanceToStart(const CDoublePoint& p) const;
  double DistanceToEnd(const CDoublePoint& p) const;
  // Inside the cached bounds grown by 2 mm, edges included.
  bool PtInBoundRect(const CDoublePoint& p) const;
  bool HasTextArc() const;
  bool HasTextArcRadius2() const;
  std::string GetText() const;
  // The outline around a text on an arc; empty for other objects.
  void GetTextArcBorder(CPointList& out) const;
  void StoreMarkedText();
  // After the object was marked: a variable text takes its next value (the
  // class decides); the bounds follow. True when the text changed.
  bool AdvanceAfterMark();
  CDoublePoint GetStartPoint() const { return startPoint; }
  CDoublePoint GetEndPoint() const { return endPoint; }

  // Dispatched operations; each does nothing without an owned object of a
  // known class.
  CDoubleRect GetBoundRect() const;
  void UpdateBoundRect();
  void RefreshTypeObject();
  // With `visible`, the device box beyond which dc drops what is drawn: an
  // element drawn from its path that lies wholly beyond it is passed over,
  // its start and end points and the current position set as drawing would.
  void Draw(platform::DeviceContext& dc, int originX, int originY, double zoom, const platform::DcPen& markedPen,
            const platform::DcPen& unmarkedPen, const CDoublePoint& reference,
            const platform::DcRect* visible = nullptr);
  // Imported drawings only: as Draw, selected strokes in the highlight pen.
  void DrawMarkPath(platform::DeviceContext& dc, int originX, int originY, double zoom,
                    const platform::DcPen& markedPen, const platform::DcPen& unmarkedPen,
                    const platform::DcPen& highlightPen, double offsetX, double offsetY);
  // Renders a path the way Draw does (start and end points updated); for
  // classes that draw themselves around their path.
  void DrawPathOf(const CPathData& path, const ElementDrawArgs& args);
  // Note the order: new bounds first, then the old ones.
  void Resize(CDoubleRect newRect, CDoubleRect oldRect, int handle);
  void MoveBy(double dx, double dy);
  void Rotate(const CDoublePoint& centre, double angle);  // radians
  void MirrorX(double axis);  // about the vertical line x = axis
  void MirrorY(double axis);  // about the horizontal line y = axis
  void CopyFrom(const CObjElement& source);
  void CollectDots(CPointList& list) const;
  void BuildStepNodes(StepNode*& head, const CDrawProperity& prop, CDoublePoint& current, int& nodeCount,
                      bool& firstObject, int mode);

  // Dividing imported drawings (types 9 and 11; others return 0).
  int SplitSelectByPoint(const CDoubleRect& rect, double scale, const CDoublePoint& offset);
  int SplitSelectByRect(const CDoubleRect& rect, double scale, const CDoublePoint& offset);
  int SplitSelectAll();
  int HasSplitSelected() const;
  int HasSplitUnselected() const;

  // Fields, in the record's order ([n] = project file key).
  CDoublePoint startPoint;   // first point of the marking path as last drawn
  CDoublePoint endPoint;     // last point of the marking path as last drawn
  int lock = 0;              // [107] nonzero: not moved
  int type = OBJ_NONE;       // [160] ObjectType
  std::string name;          // [201] code page 936 bytes
  std::uint8_t attribute = ATTR_MARK;  // [190]; bits 1, 5, 6, 7 kept as read
  int selected = 0;          // in the view's selection; a B-spline then shows its control points
  int penDownDelay = 0;      // [161]
  int penChangeDelay = 0;    // [162]
  int objectEndDelay = 0;    // [163]
  int markCount = 1;         // [164]
  int color = 0;             // [165] the default colour at construction
  int activePage = 0;        // property page last shown; copied, not stored
  int layer = 0;             // [110]
  int queryKey = 0;          // [111] role in the marking-record database
  int dataSource = 0;        // [108] 0 own text, 1 spreadsheet, 2 and 3 serial text
  int excelColumn = 0;       // [109]
  int id = 0;                // [106]
  float rotation = 0;        // [60] degrees
  float fillAngle = 0;       // [61] degrees
  float fillSpacing = 0.2f;  // [62] mm
  float emptySpeed = 0;      // [63] "ES"
  float lineSpeed = 0;       // [64] "LS"
  CDoubleRect boundRect;     // cached bounds
  int flag = 0;
  // The class block of a class this build cannot handle, as read from the
  // project file (CR LF line ends); written back in its place while the
  // element has no object, so saving a layout loses none of it. Texts keep
  // theirs too and write it back while they are unchanged since reading.
  std::string keptClassBlock;

 private:
  std::uint8_t SetBit(std::uint8_t bit, int on);
  void WriteBlock(MrkLineWriter& out, bool withQueryKey, const std::string& projectPath) const;
  // The class table when the element owns an object that really is of the
  // class its type code names; null otherwise.
  const CObjTypeOps* Ops() const;
  void DeleteOwnedObject();

  CObjBase* object_ = nullptr;
  int objectSize_ = 0;  // positive exactly when the object is owned
};
