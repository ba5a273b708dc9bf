#include "text/exchange/hpgl_ui/CFileListCtrl.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "values/ShellValues.h"
#include "document/objects/CObjPolyLine.h"
#include "document/objects/ObjectType.h"
#include "platform/Prompt.h"
#include "platform_qt/QPainterDeviceContext.h"
#include "text/exchange/hpgl/PltDrawingLoader.h"

namespace {

constexpr COLORREF kSelectedRowColor = RGB(128, 128, 255);
constexpr double kTinyShare = 0.01;  // below this share of the row a drawing is not enlarged
constexpr double kMargin = 0.9;

// Pixel coordinates are truncated; values beyond int stay at its ends.
int TruncToInt(double v) {
  if (!(v == v)) return 0;
  v = std::clamp(v, static_cast<double>(std::numeric_limits<int>::min()),
                 static_cast<double>(std::numeric_limits<int>::max()));
  return static_cast<int>(v);
}

}  // namespace

CDoublePoint operator-(const CDoublePoint& point, const CVector2D& vector) {
  return CDoublePoint(point.x - vector.dx, point.y - vector.dy, point.flag);
}

CFileListCtrl::CFileListCtrl(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex&) { OnClick(); });
}

CFileListCtrl::~CFileListCtrl() = default;

void CFileListCtrl::AppendRow() {
  auto* item = new QListWidgetItem(this);
  item->setSizeHint(QSize(0, kRowHeight));
}

void CFileListCtrl::AddEmptyRows() {
  for (int i = 0; i < rowCount_; ++i) AppendRow();
}

int CFileListCtrl::GetDrawnRowCount() const { return count() - rowCount_; }

void CFileListCtrl::LoadPltFile(const std::string& path) {
  PltDrawing drawing = LoadPltDrawing(path);
  if (drawing.dialect == 0) {
    platform::MessageBox(kPltDialectMessage);
    return;
  }
  if (drawing.dataShort) platform::MessageBox(kPltDataErrorMessage);
  if (!drawing.accepted) return;

  CPointList list;
  for (const CDoublePoint& p : drawing.points) list.Add(p);
  auto* poly = new CObjPolyLine(list, 0, 1);
  auto element =
      std::make_unique<CObjElement>(CObjCreateRecord{"Empty", OBJ_HPGL, poly, static_cast<int>(sizeof(CObjPolyLine)),
                                                     poly->GetPathData().GetBoundRect()});
  poly->RebuildFill();
  element->UpdateBoundRect();
  const CDoublePoint centre = element->GetBoundRect().CenterPoint();
  element->MoveBy(-centre.x, -centre.y);
  drawings_.push_back(std::move(element));
  AppendRow();
}

bool CFileListCtrl::GetSelectedPoints(CPointList& list) const {
  list.RemoveAll();
  if (selectedDrawing_ >= 0 && selectedDrawing_ < GetDrawingCount()) {
    if (const auto* poly = drawings_[static_cast<std::size_t>(selectedDrawing_)]->GetObjectAs<CObjPolyLine>()) {
      const CPointList& points = poly->GetPathData().points;
      for (int i = 0; i < points.GetSize(); ++i) list.Add(points[i]);
    }
  }
  return list.GetSize() > 1;
}

void CFileListCtrl::OnClick() {
  int last = -1;
  for (int row = 0; row < count(); ++row) {
    if (item(row)->isSelected()) {
      last = row;
      update(indexFromItem(item(row)));
    }
  }
  if (last >= 0 && last < GetDrawingCount()) selectedDrawing_ = last;
  viewport()->update();
}

void CFileListCtrl::PaintRows(platform::DeviceContext& dc) const {
  const double ppmX = PixelsPerMmX;
  const double ppmY = PixelsPerMmY;
  const int rows = std::min(GetDrawnRowCount(), GetDrawingCount());
  for (int i = 0; i < rows; ++i) {
    const QRect row = visualItemRect(item(i));
    if (row.width() <= 0 || row.height() <= 0 || ppmX <= 0 || ppmY <= 0) continue;
    const auto* poly = drawings_[static_cast<std::size_t>(i)]->GetObjectAs<CObjPolyLine>();
    if (!poly) continue;
    const CPathData& path = poly->GetPathData();
    const CDoubleRect bounds = path.GetBoundRect();
    const double rw = bounds.Width() / (row.width() / ppmX);
    const double rh = bounds.Height() / (row.height() / ppmY);
    double k = (rw >= kTinyShare || rh >= kTinyShare) ? 1.0 / std::max(rw, rh) : 1.0;
    k *= kMargin;

    const bool selected = i == selectedDrawing_;
    platform::DcPen previous;
    if (selected) {
      dc.FillSolidRect(row.left(), row.top(), row.width(), row.height(), kSelectedRowColor);
      previous = dc.SelectPen(pen_);
    }
    dc.MoveTo(row.left(), row.top());
    const int ox = (row.width() - TruncToInt(bounds.Width() * ppmX * k)) / 2;
    const int oy = (row.height() - TruncToInt(bounds.Height() * ppmY * k)) / 2;
    const CVector2D corner(bounds.left, bounds.top);
    for (int n = 0; n < path.points.GetSize(); ++n) {
      const CDoublePoint q = path.points[n] - corner;
      const int x = TruncToInt(row.left() + ox + q.x * ppmX * k);
      const int y = TruncToInt(row.top() + oy - q.y * ppmY * k);
      if (q.flag & PT_JOINED)
        dc.LineTo(x, y);
      else
        dc.MoveTo(x, y);
    }
    if (selected) dc.SelectPen(previous);
  }
}

void CFileListCtrl::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  QPainter painter(viewport());
  platform_qt::QPainterDeviceContext dc(painter);
  PaintRows(dc);
}
