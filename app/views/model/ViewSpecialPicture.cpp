// The special-picture tool: the operator drags a frame and picks a drawing of
// the library folder "PltFiles"; the drawing is placed, at its own size,
// centred in the frame, as an imported plot drawing.
#include "app/views/model/CVendrikViewModel.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "document/objects/HandleResize.h"

CObjElement* CVendrikViewModel::CreateSpecialPicture() {
  if (m_pointList.GetSize() < 2 || m_pDialogs == nullptr) return nullptr;
  CDoubleRect frame;
  frame.SetFromCorners(m_pointList[0].x, m_pointList[0].y, m_pointList[1].x, m_pointList[1].y);
  CPointList drawing;
  if (!m_pDialogs->AskPltLibrary(drawing) || drawing.GetSize() < 2) return nullptr;
  // Undo takes the drawing away alone, like any other object made by a tool.
  PushHistory();
  auto* poly = new CObjPolyLine(drawing, 0, 1);
  // Every stroke of a library drawing may be divided.
  poly->SetSplitFlagAll();
  auto* element = new CObjElement(CObjCreateRecord{MakeDefaultName(OBJ_HPGL), OBJ_HPGL, poly,
                                                   static_cast<int>(sizeof(CObjPolyLine)),
                                                   poly->GetPathData().GetBoundRect()});
  element->UpdateBoundRect();
  element->Resize(frame, element->GetBoundRect(), HANDLE_MOVE_ONLY);
  const CDoubleRect placed = element->GetBoundRect();
  element->MoveBy(frame.CenterX() - placed.CenterX(), frame.CenterY() - placed.CenterY());
  element->UpdateBoundRect();
  element->RefreshTypeObject();
  return element;
}
