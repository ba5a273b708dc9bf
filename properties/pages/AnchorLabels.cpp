#include "properties/pages/AnchorLabels.h"

#include <QLabel>
#include <QWidget>
#include <cmath>

#include "values/AnchorNames.h"

namespace {
constexpr double kArcRadiusMin = 0.1;
}  // namespace

void AnchorLabelsFor(double radius, std::string& xLabel, std::string& yLabel) {
  const bool centre = std::fabs(radius) >= kArcRadiusMin;
  xLabel = centre ? "Center(x):" : "Left top(x):";
  yLabel = centre ? "Center(y):" : "Left top(y):";
}

void AnchorLabels::Take(QWidget& page, int xField, int yField) {
  x_ = page.findChild<QLabel*>(QString("label%1").arg(xField));
  y_ = page.findChild<QLabel*>(QString("label%1").arg(yField));
  x_->setObjectName(QString("label%1").arg(kXLabel));
  y_->setObjectName(QString("label%1").arg(kYLabel));
}

void AnchorLabels::Show(double radius, std::string& xLabel, std::string& yLabel) const {
  AnchorLabelsFor(radius, xLabel, yLabel);
  x_->setText(QString::fromStdString(xLabel));
  y_->setText(QString::fromStdString(yLabel));
}

QStringList FixPositionEntries() {
  QStringList entries;
  for (const char* name : kAnchorNames) entries << name;
  return entries;
}

void FixPositionOf(int fixedCorner, int& index, std::string& text) {
  index = fixedCorner >= 0 && fixedCorner < static_cast<int>(kAnchorNames.size()) ? fixedCorner : 0;
  text = kAnchorNames[static_cast<std::size_t>(index)];
}
