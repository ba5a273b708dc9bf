#pragma once
// Messages of the property pane: the object list's reports, the page
// activation report, the rebuilt notice and one change message per kind of
// property page. A change message carries its record (PROPCHANGE) as the
// message payload, with the record's address in wParam.
#include "platform/WinTypes.h"

constexpr UINT WM_LIST_MARKORDER = 1220;   // list menu: change mark order
constexpr UINT WM_LIST_DELETE = 1223;      // list menu: delete
constexpr UINT WM_LIST_SELECTED = 1228;    // to the layout view: take the list's selection over
constexpr UINT WM_LIST_SELCHANGE = 1230;   // list to its parent: the caret item changed
constexpr UINT WM_PAGE_ACTIVATED = 1231;   // wParam: page code, lParam: the page's object
constexpr UINT WM_SHEET_REBUILT = 1233;    // the sheet's page set was rebuilt
constexpr UINT WM_LIST_COMBINE = 1247;     // list menu: combine

constexpr UINT WM_UPDATE_DRAWSIZE = 1224;
constexpr UINT WM_UPDATE_PRINTPARAMETER = 1225;
constexpr UINT WM_UPDATE_PRINTSETUP = 1226;
constexpr UINT WM_UPDATE_ROATESET = 1227;
constexpr UINT WM_UPDATE_OBJLINE = 1229;
constexpr UINT WM_UPDATE_OBJNAME = 1232;
constexpr UINT WM_UPDATE_PRINTPROPERITY = 1234;
constexpr UINT WM_UPDATE_POLYLINE = 1235;
constexpr UINT WM_UPDATE_OBJRECT = 1236;
constexpr UINT WM_UPDATE_OBJARC = 1237;
constexpr UINT WM_UPDATE_FONT = 1238;
constexpr UINT WM_UPDATE_TEXT = 1239;
constexpr UINT WM_UPDATE_AUTOTEXT = 1240;
constexpr UINT WM_UPDATE_TEXTTIME = 1241;
constexpr UINT WM_UPDATE_OBJVIN = 1242;
constexpr UINT WM_UPDATE_FILLOBJ = 1243;
constexpr UINT WM_UPDATE_MBORDER = 1244;
constexpr UINT WM_UPDATE_BARCODE = 1245;
constexpr UINT WM_UPDATE_PLTDIVIDE = 1249;
constexpr UINT WM_UPDATE_OBJIMAGESIZE = 1251;
constexpr UINT WM_UPDATE_OBJRULERBAR = 1253;
constexpr UINT WM_UPDATE_DOTMATRIX = 1255;

// Every change message, in number order.
constexpr UINT kPropertyChangeMessages[] = {
    WM_UPDATE_DRAWSIZE,   WM_UPDATE_PRINTPARAMETER, WM_UPDATE_PRINTSETUP,     WM_UPDATE_ROATESET,
    WM_UPDATE_OBJLINE,    WM_UPDATE_OBJNAME,        WM_UPDATE_PRINTPROPERITY, WM_UPDATE_POLYLINE,
    WM_UPDATE_OBJRECT,    WM_UPDATE_OBJARC,         WM_UPDATE_FONT,           WM_UPDATE_TEXT,
    WM_UPDATE_AUTOTEXT,   WM_UPDATE_TEXTTIME,       WM_UPDATE_OBJVIN,         WM_UPDATE_FILLOBJ,
    WM_UPDATE_MBORDER,    WM_UPDATE_BARCODE,        WM_UPDATE_PLTDIVIDE,      WM_UPDATE_OBJIMAGESIZE,
    WM_UPDATE_OBJRULERBAR, WM_UPDATE_DOTMATRIX};

constexpr bool IsPropertyChangeMessage(UINT msg) {
  for (UINT m : kPropertyChangeMessages)
    if (m == msg) return true;
  return false;
}
