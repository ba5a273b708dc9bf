#pragma once
// The sheet's page slots (one instance of each page class), which page set
// every object type shows, and which page posts which change message.
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/WinTypes.h"

class CPropertyPage;

enum class PageSlot : int {
  Default,
  ObjName,
  ObjLine,
  DrawSize,
  PrintParameter,
  PrintSetup,
  RoateSet,
  PrintProperity,
  FillObj,
  Polyline,
  ObjBSpline,
  ObjRect,
  ObjArc,
  Font,
  Text,
  AutoText,
  TextTime,
  ObjVin,
  MBorder,
  ObjRulerBar,
  DotMatrix,
  PltDivide,
  ObjImageSize,
  BarCode,
};
constexpr std::size_t kPageSlotCount = 24;

// The pages of an object type, in tab order; empty for types without pages.
const std::vector<PageSlot>& PageSetOf(int type);
// The four pages of the work area (element 0) that its values fill.
const std::vector<PageSlot>& WorkAreaSlots();
// The slot whose page posts `changeMessage`; false for other messages.
bool SlotOfChangeMessage(UINT changeMessage, PageSlot& slot);
// The page class of a slot, or null while that class is not built.
std::unique_ptr<CPropertyPage> CreatePage(PageSlot slot);
