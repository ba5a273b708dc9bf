#pragma once
// The modal dialogs the layout view's arranging, import and reference-arc
// commands open. The widget hands in the Qt dialogs; tests hand in a double
// that fills the values and answers OK or Cancel. Every call returns true on
// OK with the values taken from the dialog.
#include <string>
#include <vector>

class CObjElement;
class CPointList;

// Dialog 189 "Object martrix copy dialog".
struct MatrixCopyValues {
  int rows = 2;
  int cols = 2;
  float rowDistance = 10;
  float colDistance = 10;
  int xPositive = 1;
  int yPositive = 1;
};

// Dialog 186 "Size and position": the four edit texts, as typed.
struct SizePositionTexts {
  std::string width;
  std::string height;
  std::string left;
  std::string top;
};

// Dialog 214 "refer arc".
struct ReferenceArcValues {
  float point1X = 0;
  float point1Y = 0;
  float point2X = 0;
  float point2Y = 0;
  float radius = 0;
  float minRadius = 0;
  float centreX = 0;
  float centreY = 0;
};

class IViewDialogs {
 public:
  virtual ~IViewDialogs() = default;
  virtual bool AskRotateAngle(float& degrees) = 0;                  // 188
  virtual bool AskMatrixCopy(MatrixCopyValues& values) = 0;          // 189
  virtual bool AskOffset(float& x, float& y) = 0;                    // 194
  virtual bool AskSizeAndPosition(SizePositionTexts& texts) = 0;     // 186
  virtual bool AskFillFile(float& angle, float& distance) = 0;       // 191
  virtual bool AskMarkOrder(std::vector<CObjElement*>& order) = 0;   // 173
  virtual bool AskReferenceArc(ReferenceArcValues& values) = 0;      // 214
  // The drawing library: on OK the points of the chosen drawing (empty when
  // none was chosen or its file gave no points).
  virtual bool AskPltLibrary(CPointList& points) = 0;                // 208
};
