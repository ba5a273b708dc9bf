#pragma once
// The PLT library dialog's list: each row previews one plot drawing read from
// a .plt file, scaled into the row, and the operator picks one row whose
// points the dialog takes over.
#include <QListWidget>
#include <memory>
#include <string>
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"
#include "document/geometry/CVector2D.h"
#include "document/objects/CObjElement.h"
#include "platform/DeviceContext.h"

class CFileListCtrl : public QListWidget {
 public:
  static constexpr int kRowHeight = 96;  // pixels per row

  explicit CFileListCtrl(QWidget* parent = nullptr);
  ~CFileListCtrl() override;

  // Inserts the spare empty rows at the end of the list.
  void AddEmptyRows();
  // Rows that show a drawing: the item count less the spare rows.
  int GetDrawnRowCount() const;
  // Reads one plot file; a finished drawing is appended with a row of its own.
  void LoadPltFile(const std::string& path);
  // Replaces list with the points of the selected drawing; true when that
  // gives more than one point.
  bool GetSelectedPoints(CPointList& list) const;
  // Takes the last selected row as the selected drawing, when it shows one.
  void OnClick();
  // Draws every drawn row's drawing (the selected one highlighted).
  void PaintRows(platform::DeviceContext& dc) const;

  int GetSelectedDrawing() const { return selectedDrawing_; }
  int GetDrawingCount() const { return static_cast<int>(drawings_.size()); }
  const CObjElement* GetDrawing(int index) const { return drawings_[static_cast<std::size_t>(index)].get(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void AppendRow();

  std::vector<std::unique_ptr<CObjElement>> drawings_;
  int rowCount_ = 8;
  int selectedDrawing_ = -1;
  platform::DcPen pen_{platform::PS_SOLID, 1, RGB(255, 255, 255)};
};

// A point moved back by a vector, flag kept.
CDoublePoint operator-(const CDoublePoint& point, const CVector2D& vector);
