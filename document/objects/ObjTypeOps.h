#pragma once
// Dispatch by type code. Each object class describes its operations once in a
// table of plain functions (the classes themselves stay non-virtual); the one
// switch in FindObjTypeOps maps a type code to its class, and the element calls
// through the table. A class that is not built (yet) has no table, and every
// operation on its codes does nothing. Classes outside this library register
// their table at start-up with RegisterObjTypeOps.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/objects/CObjBase.h"
#include "platform/DeviceContext.h"

class CObjElement;
class CPathData;
class CPointList;
class MrkLineWriter;
struct MrkValue;

// The classes that objects are made of. The numbers are the project reader's
// class contexts, so a reader can use them as they stand.
enum class ObjClassId : int {
  None = 0,
  DrawProperity = 2,
  Line = 3,
  PolyLine = 4,
  MultiBorder = 5,
  Arc = 6,
  Text = 7,
  TextAutoUpdate = 8,
  TextDate = 9,
  TextVin = 10,
  BarCode = 11,
  Image = 12,
  TextRuler = 13,
  DotCollect = 14,
  BSpline = 15,
};
constexpr int kObjClassIdCount = 16;

// The class that holds objects of a type code; None for reserved and unknown codes.
ObjClassId ObjClassOfType(int typeCode);

// What CObjElement::Draw hands to a class that draws itself (picture, barcode,
// B-spline control points). The pen is already selected.
struct ElementDrawArgs {
  platform::DeviceContext* dc = nullptr;
  int originX = 0;
  int originY = 0;
  double zoom = 1.0;
  double offsetX = 0;
  double offsetY = 0;
  const platform::DcPen* highlightPen = nullptr;
  const platform::DcRect* visible = nullptr;  // PathDrawContext::visible
};

// Operations of one class. Null entries mean "this class has none"; the
// element then does nothing for that operation.
struct CObjTypeOps {
  const char* className = nullptr;  // as in the project file's class block
  int objectSize = 0;               // size of the concrete object, > 0

  // True when obj really is an object of this class (guards every cast).
  bool (*isInstance)(const CObjBase& obj) = nullptr;
  // The object's path; null entry or null result: the class has none.
  CPathData* (*path)(CObjBase& obj) = nullptr;
  // A default-constructed object (project reader, element copy).
  std::unique_ptr<CObjBase> (*create)() = nullptr;
  // Fills dstObj (fresh from create) as a copy of srcObj; dst's fields are
  // already copied from src, so text classes can use dst's cached bounds.
  void (*copy)(CObjElement& dst, CObjBase& dstObj, const CObjElement& src, const CObjBase& srcObj) = nullptr;
  // Rebuilds what the object derives from its settings (fill, curve, text path).
  void (*refresh)(CObjElement& element, CObjBase& obj) = nullptr;
  // Handle resize with the class argument order: old, new, handle.
  void (*resize)(CObjBase& obj, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) = nullptr;
  void (*offset)(CObjBase& obj, double dx, double dy) = nullptr;
  // Angle in radians, already brought into (-2pi, 2pi).
  void (*rotate)(CObjElement& element, CObjBase& obj, const CDoublePoint& centre, double angle) = nullptr;
  void (*mirrorX)(CObjBase& obj, double axis) = nullptr;
  void (*mirrorY)(CObjBase& obj, double axis) = nullptr;
  // Bounds the class keeps itself (dot image, picture); used for the cached
  // bounds in place of the path bounds.
  CDoubleRect (*ownBounds)(const CObjBase& obj) = nullptr;
  // Drawing in place of the plain path rendering.
  void (*draw)(CObjElement& element, CObjBase& obj, const ElementDrawArgs& args) = nullptr;
  // Called before the path becomes step nodes (the date refreshes its time).
  void (*beforeStepNodes)(CObjElement& element, CObjBase& obj) = nullptr;
  // The class block of the project file. The project path is for classes
  // that embed files of their own (pictures).
  void (*write)(const CObjElement& element, const CObjBase& obj, MrkLineWriter& out,
                const std::string& projectPath) = nullptr;
  // The project reader's setter for the class's keys.
  void (*setField)(CObjBase& obj, int key, const MrkValue& value) = nullptr;
  // The project reader's setter for string keys (texts: 230..241).
  void (*setString)(CObjBase& obj, int key, const std::string& value) = nullptr;
  // The project reader at the element's end marker: completes the object
  // read from a file of the given version (1 "Ver2004", 2 "Ver2008") and
  // attaches it to the element with its bounds.
  void (*finishRead)(CObjElement& element, std::unique_ptr<CObjBase> obj, int fileVersion) = nullptr;
  // The same for an object past the reader's budget of built points: it is
  // attached with its values as read but makes none of the points it makes
  // from its settings (it makes them when it is next changed), so such
  // objects cost the reading no more than their bytes. Null: the reader
  // completes the object with finishRead and drops what it built.
  void (*finishReadEmpty)(CObjElement& element, std::unique_ptr<CObjBase> obj, int fileVersion) = nullptr;
  // The project reader at a raw-data key (320..350, pictures): reads the
  // object's embedded bytes from content starting at pos and returns how many
  // bytes it took (never more than content holds after pos).
  std::size_t (*readEmbedded)(CObjBase& obj, int key, std::string_view content, std::size_t pos) = nullptr;
  // Texts: the current text, keeping the marked text, the arc radius of the layout.
  std::string (*getText)(const CObjBase& obj) = nullptr;
  void (*storeMarkedText)(CObjBase& obj) = nullptr;
  double (*textArcRadius)(const CObjBase& obj) = nullptr;
  // Texts on an arc: the closed outline around them (empty otherwise).
  void (*textArcBorder)(const CObjBase& obj, CPointList& out) = nullptr;
  // Variable texts after the object was marked: the next serial number,
  // date, VIN or code text, laid out at its anchor. True when it changed.
  bool (*advanceAfterMark)(CObjElement& element, CObjBase& obj) = nullptr;
};

// The table of the class that holds a type code; null when the code is
// reserved or its class has not been registered.
const CObjTypeOps* FindObjTypeOps(int typeCode);
const CObjTypeOps* FindObjClassOps(ObjClassId id);

// Installs (or replaces) the table of a class. Call at start-up, before any
// element is used; the table must outlive every element.
void RegisterObjTypeOps(ObjClassId id, const CObjTypeOps* ops);

// Helper for isInstance entries: the exact class, not a derived one (a
// B-spline under a polyline code is a mismatch, not a polyline).
template <class T>
bool IsExactly(const CObjBase& obj) {
  return typeid(obj) == typeid(T);
}
