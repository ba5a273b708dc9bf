#pragma once
// The anchor of a text on the text pages (text, date, serial number, VIN):
// the labels of the x and y fields, which name the left-top corner or, for a
// text on an arc, the centre; and the list of the nine fixed positions.
#include <QStringList>
#include <string>

class QLabel;
class QWidget;

// "Center(x):"/"Center(y):" for a text on an arc (radius 0.1 mm or more either
// way), else "Left top(x):"/"Left top(y):".
void AnchorLabelsFor(double radius, std::string& xLabel, std::string& yLabel);

// The labels of a page's x and y fields, which carry their own control ids.
class AnchorLabels {
 public:
  static constexpr int kXLabel = 1174;
  static constexpr int kYLabel = 1175;

  // Takes the labels made with the x and y fields and gives them their ids.
  void Take(QWidget& page, int xField, int yField);
  // The labels for the radius, into the page's members and onto the labels.
  void Show(double radius, std::string& xLabel, std::string& yLabel) const;

 private:
  QLabel* x_ = nullptr;
  QLabel* y_ = nullptr;
};

// The entries of the fixed-position lists.
QStringList FixPositionEntries();
// The list's entry for a stored fixed position; the first for one outside the list.
void FixPositionOf(int fixedCorner, int& index, std::string& text);
