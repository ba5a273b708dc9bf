// Commands that change the selected objects as a whole: rotate, mirror,
// matrix copy, fill of an imported drawing, the alignments, offset, and size
// and position.
#include <cmath>

#include "app/views/model/CVendrikViewModel.h"
#include "document/objects/CObjElement.h"
#include "document/objects/HandleResize.h"
#include "platform/NumberText.h"
#include "platform/Prompt.h"

namespace {

constexpr int ID_ROTATE = 32801;
constexpr int ID_MATRIX_COPY = 32842;
constexpr int ID_FILL_VECTOR_IMAGE = 32849;
constexpr int ID_MIRROR_X = 32843;
constexpr int ID_MIRROR_Y = 32844;
constexpr int ID_ALIGN_CENTER = 32802;
constexpr int ID_ALIGN_LEFT = 32805;
constexpr int ID_ALIGN_RIGHT = 32806;
constexpr int ID_ALIGN_TOP = 32807;
constexpr int ID_ALIGN_BOTTOM = 32808;
constexpr int ID_OFFSET = 32856;
constexpr int ID_OBJECT_SIZE = 32837;

constexpr int kRotateToolCode = 15;
constexpr int kMatrixToolCode = 16;
constexpr double kRadiansPerDegree = 0.0174532;
constexpr std::size_t kLongestCopiedName = 29;
constexpr char kBadSize[] = "Width and height must be numbers above 0!";

// A side that moves by no more than this is left as it is.
constexpr double kSizeTolerance = 0.001;

// Resize modes of the size passes: the handle whose side is stretched.
constexpr int kResizeHeight = 1;
constexpr int kResizeWidth = 3;

// A text of the size dialog as a finite number; false for anything else.
bool ParseSizeText(const std::string& text, double& value) {
  bool ok = false;
  value = platform::ParseDoubleC(text, &ok);
  return ok && std::isfinite(value);
}

}  // namespace

void CVendrikViewModel::RegisterTransformCommands() {
  // The reference arc alone is no part of the layout: none of these apply to it.
  const auto any = [this] { return HasLayoutSelection(); };
  const auto two = [this] { return m_selection.size() >= 2; };
  AddCommand(ID_ROTATE, [this] { OnRotate(); }, any, [this] { return m_toolCode == kRotateToolCode; });
  AddCommand(ID_MATRIX_COPY, [this] { OnMatrixCopy(); }, any, [this] { return m_toolCode == kMatrixToolCode; });
  AddCommand(ID_FILL_VECTOR_IMAGE, [this] { OnFillVectorImage(); },
             [this] { return IsDrawingSelected(OBJ_HPGL) || IsDrawingSelected(OBJ_DXF); });
  AddCommand(ID_MIRROR_X, [this] { OnMirror(true); }, any);
  AddCommand(ID_MIRROR_Y, [this] { OnMirror(false); }, any);
  AddCommand(ID_ALIGN_CENTER, [this] { OnAlignCenter(); }, any);
  AddCommand(ID_ALIGN_LEFT, [this] { OnAlignEdge(0); }, two);
  AddCommand(ID_ALIGN_RIGHT, [this] { OnAlignEdge(1); }, two);
  AddCommand(ID_ALIGN_TOP, [this] { OnAlignEdge(2); }, two);
  AddCommand(ID_ALIGN_BOTTOM, [this] { OnAlignEdge(3); }, two);
  AddCommand(ID_OFFSET, [this] { OnOffset(); }, any);
  AddCommand(ID_OBJECT_SIZE, [this] { OnObjectSize(); }, any);
}

void CVendrikViewModel::OnRotate() {
  if (m_pDialogs == nullptr || !HasLayoutSelection()) return;
  m_toolCode = kRotateToolCode;
  m_dragState = 0;
  float degrees = 0;
  const bool ok = m_pDialogs->AskRotateAngle(degrees);
  m_toolCode = 0;
  const double angle = degrees * kRadiansPerDegree;
  if (!ok || angle == 0 || !std::isfinite(angle)) return;
  PushHistory();
  CDoubleRect bounds;
  GetSelectionBounds(bounds);
  const CDoublePoint centre = bounds.CenterPoint();
  for (CObjElement* element : m_selection) element->Rotate(centre, angle);
  RefreshSelectedPages();
  UpdateSelectionBounds();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
}

void CVendrikViewModel::OnMirror(bool aboutVertical) {
  if (!HasLayoutSelection()) return;
  const double cx = m_selBounds.CenterX();
  const double cy = m_selBounds.CenterY();
  PushHistory();
  for (CObjElement* element : m_selection) {
    if (aboutVertical) {
      element->MirrorX(cx);
    } else {
      element->MirrorY(cy);
    }
  }
  RefreshSelectedPages();
  SetLayoutModified();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnMatrixCopy() {
  if (m_pDialogs == nullptr || !HasLayoutSelection()) return;
  m_toolCode = kMatrixToolCode;
  m_dragState = 0;
  MatrixCopyValues values;
  const bool ok = m_pDialogs->AskMatrixCopy(values);
  m_toolCode = 0;
  if (ok) MatrixCopy(values);
}

void CVendrikViewModel::MatrixCopy(const MatrixCopyValues& values) {
  if (values.rows * values.cols <= 1 || !HasLayoutSelection()) return;
  // Undo takes the copies away alone, leaving the change before them.
  PushHistory();
  // The copies join the selection as they are added; copy the originals only.
  const std::vector<CObjElement*> originals = m_selection.GetElements();
  std::vector<CObjElement*> made;
  bool stopped = false;
  for (int i = 0; i < values.rows && !stopped; ++i) {
    double dy = i * static_cast<double>(values.rowDistance);
    if (values.yPositive) dy = -dy;
    for (int j = 0; j < values.cols && !stopped; ++j) {
      if (i == 0 && j == 0) continue;
      double dx = j * static_cast<double>(values.colDistance);
      if (!values.xPositive) dx = -dx;
      for (CObjElement* source : originals) {
        if (source->name.size() > kLongestCopiedName) {
          stopped = true;
          break;
        }
        auto copy = std::make_unique<CObjElement>();
        copy->CopyFrom(*source);
        copy->lock = 0;
        copy->selected = 0;
        if (std::string name = DefaultName(copy->type); !name.empty()) copy->name = name;
        copy->RefreshTypeObject();
        copy->MoveBy(dx, dy);
        copy->UpdateBoundRect();
        made.push_back(AddElement(std::move(copy), 0));
      }
    }
  }
  // The selection stays on the originals.
  SelectElements(originals);
  SetLayoutModified();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnFillVectorImage() {
  if (m_pDialogs == nullptr || !HasLayoutSelection()) return;
  float angle = 0;
  float distance = 0.1f;
  if (!m_pDialogs->AskFillFile(angle, distance)) return;
  CObjElement* element = m_selection.front();
  if (!IsImportedDrawingType(element->type)) return;
  PushHistory();
  element->ToggleFill(angle, distance);
  m_pPropView->RefreshSheet(element, static_cast<int>(m_selection.size()));
  element->UpdateBoundRect();
  UpdateSelectionBounds();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
}

void CVendrikViewModel::OnAlignCenter() {
  if (!HasLayoutSelection()) return;
  PushHistory();
  const double cx = static_cast<float>(m_selBounds.CenterX());
  const double cy = m_selBounds.CenterY();
  const int count = static_cast<int>(m_selection.size());
  for (CObjElement* element : m_selection) {
    element->MoveBy(-cx, -cy);
    m_pPropView->RefreshSheet(element, count);
  }
  UpdateSelectionBounds();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
}

void CVendrikViewModel::OnAlignEdge(int edge) {
  if (m_selection.size() < 2) return;
  PushHistory();
  CDoubleRect all;
  GetSelectionBounds(all);
  const int count = static_cast<int>(m_selection.size());
  for (CObjElement* element : m_selection) {
    const CDoubleRect b = element->GetBoundRect();
    switch (edge) {
      case 0: element->MoveBy(all.left - b.left, 0); break;
      case 1: element->MoveBy(all.right - b.right, 0); break;
      case 2: element->MoveBy(0, all.top - b.top); break;
      default: element->MoveBy(0, all.bottom - b.bottom); break;
    }
    m_pPropView->RefreshSheet(element, count);
  }
  UpdateSelectionBounds();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  // Moved objects are a change like any other: New, Open and close ask.
  SetLayoutModified();
}

void CVendrikViewModel::OnOffset() {
  if (m_pDialogs == nullptr || !HasLayoutSelection()) return;
  float x = 0;
  float y = 0;
  if (!m_pDialogs->AskOffset(x, y)) return;
  PushHistory();
  const int count = static_cast<int>(m_selection.size());
  for (CObjElement* element : m_selection) {
    element->MoveBy(x, y);
    m_pPropView->RefreshSheet(element, count);
  }
  UpdateSelectionBounds();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
}

void CVendrikViewModel::OnObjectSize() {
  if (m_pDialogs == nullptr || !HasLayoutSelection()) return;
  CDoubleRect r0;
  GetSelectionBounds(r0);
  SizePositionTexts texts;
  texts.height = platform::FormatC("%.3f", r0.Height());
  texts.width = platform::FormatC("%.3f", r0.Width());
  texts.left = platform::FormatC("%.3f", r0.left);
  texts.top = platform::FormatC("%.3f", r0.top);
  if (!m_pDialogs->AskSizeAndPosition(texts)) return;
  double width = 0;
  double height = 0;
  double left = 0;
  double top = 0;
  // A text that is no number would ask for a rectangle of no size at the
  // origin: refuse it instead of squashing the selection. A side left as it
  // was is not resized, so a line's or a dot's side of 0 stands; only a side
  // changed to 0 or below is refused.
  const auto changedToNothing = [](double value, double was) {
    return std::fabs(value - was) > kSizeTolerance && value <= 0;
  };
  if (!ParseSizeText(texts.width, width) || !ParseSizeText(texts.height, height) || !ParseSizeText(texts.left, left) ||
      !ParseSizeText(texts.top, top) || changedToNothing(width, r0.Width()) || changedToNothing(height, r0.Height())) {
    platform::MessageBox(kBadSize);
    return;
  }
  ApplySizeAndPosition(CDoubleRect(left, top, left + width, top - height));
}

void CVendrikViewModel::ApplySizeAndPosition(const CDoubleRect& requested) {
  if (!HasLayoutSelection()) return;
  for (const CObjElement* element : m_selection) {
    if (element->lock != 0) return;
  }
  PushHistory();
  CDoubleRect u;
  GetSelectionBounds(u);
  const int count = static_cast<int>(m_selection.size());
  for (int pass = 0; pass < 3; ++pass) {
    int mode = HANDLE_MOVE_ONLY;
    if (pass == 0) {
      if (std::fabs(requested.Height() - u.Height()) <= kSizeTolerance) continue;
      mode = kResizeHeight;
    } else if (pass == 1) {
      if (std::fabs(requested.Width() - u.Width()) <= kSizeTolerance) continue;
      mode = kResizeWidth;
    } else if (requested.left == u.left && requested.top == u.top) {
      break;
    }
    SetLayoutModified();
    const double dx = requested.left - u.left;
    const double dy = requested.top - u.top;
    for (CObjElement* element : m_selection) {
      if (!element->HasTextArc() && mode != HANDLE_MOVE_ONLY && requested != u) element->Resize(requested, u, mode);
      if (dx != 0 || dy != 0) element->MoveBy(dx, dy);
      m_pPropView->RefreshSheet(element, count);
      element->UpdateBoundRect();
    }
    UpdateSelectionBounds();
    GetSelectionBounds(u);
  }
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}
