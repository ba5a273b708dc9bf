// One line per page class: a slot without a line stays empty, and the sheet
// shows the rest of its type's page set.
#include "properties/pages/CUpdateDefaultPage.h"
#include "properties/pages/CUpdateDotMatrixPage.h"
#include "properties/pages/CUpdateDrawSizePage.h"
#include "properties/pages/CUpdateFillObjPage.h"
#include "properties/pages/CUpdateObjNamePage.h"
#include "properties/pages/CUpdatePrintProperityPage.h"
#include "properties/sheet/PageSlot.h"

std::unique_ptr<CPropertyPage> CreatePage(PageSlot slot) {
  switch (slot) {
    case PageSlot::Default: return std::make_unique<CUpdateDefaultPage>();
    case PageSlot::ObjName: return std::make_unique<CUpdateObjNamePage>();
    case PageSlot::DrawSize: return std::make_unique<CUpdateDrawSizePage>();
    case PageSlot::PrintProperity: return std::make_unique<CUpdatePrintProperityPage>();
    case PageSlot::FillObj: return std::make_unique<CUpdateFillObjPage>();
    case PageSlot::DotMatrix: return std::make_unique<CUpdateDotMatrixPage>();
    default: return nullptr;
  }
}
