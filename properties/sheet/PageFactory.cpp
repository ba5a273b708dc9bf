// One line per page class: a slot without a line stays empty, and the sheet
// shows the rest of its type's page set.
#include "properties/pages/CObjPltDividePage.h"
#include "properties/pages/CUpdateAutoTextPage.h"
#include "properties/pages/CUpdateBarCodePage.h"
#include "properties/pages/CUpdateDefaultPage.h"
#include "properties/pages/CUpdateDotMatrixPage.h"
#include "properties/pages/CUpdateDrawSizePage.h"
#include "properties/pages/CUpdateFillObjPage.h"
#include "properties/pages/CUpdateFontPage.h"
#include "properties/pages/CUpdateMBorderPage.h"
#include "properties/pages/CUpdateObjArcPage.h"
#include "properties/pages/CUpdateObjBSplinePage.h"
#include "properties/pages/CUpdateObjImageSize.h"
#include "properties/pages/CUpdateObjLinePage.h"
#include "properties/pages/CUpdateObjNamePage.h"
#include "properties/pages/CUpdateObjRectPage.h"
#include "properties/pages/CUpdateObjRulerBar.h"
#include "properties/pages/CUpdateObjVinPage.h"
#include "properties/pages/CUpdatePolylinePage.h"
#include "properties/pages/CUpdatePrintParameterPage.h"
#include "properties/pages/CUpdatePrintProperityPage.h"
#include "properties/pages/CUpdatePrintSetupPage.h"
#include "properties/pages/CUpdateRoateSetPage.h"
#include "properties/pages/CUpdateTextPage.h"
#include "properties/pages/CUpdateTextTimePage.h"
#include "properties/sheet/PageSlot.h"

std::unique_ptr<CPropertyPage> CreatePage(PageSlot slot) {
  switch (slot) {
    case PageSlot::Default: return std::make_unique<CUpdateDefaultPage>();
    case PageSlot::ObjName: return std::make_unique<CUpdateObjNamePage>();
    case PageSlot::DrawSize: return std::make_unique<CUpdateDrawSizePage>();
    case PageSlot::PrintProperity: return std::make_unique<CUpdatePrintProperityPage>();
    case PageSlot::FillObj: return std::make_unique<CUpdateFillObjPage>();
    case PageSlot::DotMatrix: return std::make_unique<CUpdateDotMatrixPage>();
    case PageSlot::ObjLine: return std::make_unique<CUpdateObjLinePage>();
    case PageSlot::ObjRect: return std::make_unique<CUpdateObjRectPage>();
    case PageSlot::ObjArc: return std::make_unique<CUpdateObjArcPage>();
    case PageSlot::Polyline: return std::make_unique<CUpdatePolylinePage>();
    case PageSlot::MBorder: return std::make_unique<CUpdateMBorderPage>();
    case PageSlot::ObjImageSize: return std::make_unique<CUpdateObjImageSize>();
    case PageSlot::ObjBSpline: return std::make_unique<CUpdateObjBSplinePage>();
    case PageSlot::PrintParameter: return std::make_unique<CUpdatePrintParameterPage>();
    case PageSlot::PrintSetup: return std::make_unique<CUpdatePrintSetupPage>();
    case PageSlot::RoateSet: return std::make_unique<CUpdateRoateSetPage>();
    case PageSlot::Text: return std::make_unique<CUpdateTextPage>();
    case PageSlot::Font: return std::make_unique<CUpdateFontPage>();
    case PageSlot::ObjVin: return std::make_unique<CUpdateObjVinPage>();
    case PageSlot::BarCode: return std::make_unique<CUpdateBarCodePage>();
    case PageSlot::AutoText: return std::make_unique<CUpdateAutoTextPage>();
    case PageSlot::ObjRulerBar: return std::make_unique<CUpdateObjRulerBar>();
    case PageSlot::TextTime: return std::make_unique<CUpdateTextTimePage>();
    case PageSlot::PltDivide: return std::make_unique<CObjPltDividePage>();
    default: return nullptr;
  }
}
