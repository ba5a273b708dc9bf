#pragma once
// Type codes of the objects an element can hold. The codes are stored in
// project files, so their numbers never change.

enum ObjectType : int {
  OBJ_NONE = -1,
  OBJ_PROPERITY = 0,     // machine parameter record, element 0 only
  OBJ_LINE = 1,
  OBJ_TEXT = 2,
  OBJ_RECTANGLE = 3,     // closed polyline of four corners
  OBJ_ELLIPSE = 4,       // reserved
  OBJ_DOTIMAGE = 5,
  OBJ_ARC = 6,
  OBJ_POLYLINE = 7,
  OBJ_MULTIBORDER = 8,
  OBJ_HPGL = 9,          // polyline imported from a plotter file
  OBJ_OLDBARCODE = 10,   // reserved
  OBJ_DXF = 11,          // polyline imported from a drawing-exchange file
  OBJ_RESERVED12 = 12,
  OBJ_RESERVED13 = 13,
  OBJ_RESERVED14 = 14,
  OBJ_DATE = 15,
  OBJ_SERIAL = 16,
  OBJ_VIN = 17,
  OBJ_RESERVED18 = 18,
  OBJ_BARCODE = 19,
  OBJ_RESERVED20 = 20,
  OBJ_PICTURE = 21,
  OBJ_RULER = 22,
  OBJ_BSPLINE = 23,
};

// Codes held by the polyline class: rectangle, polyline and the two imports.
constexpr bool IsPolyLineType(int type) {
  return type == OBJ_RECTANGLE || type == OBJ_POLYLINE || type == OBJ_HPGL || type == OBJ_DXF;
}
constexpr bool IsImportedDrawingType(int type) { return type == OBJ_HPGL || type == OBJ_DXF; }
