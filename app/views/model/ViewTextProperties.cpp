// The layout view's handlers of the text page and the font page: the value
// of the change record is written into the text object, which is then laid
// out again where its fixed position says, so it keeps its place.
#include <cctype>
#include <cmath>
#include <map>
#include <set>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "properties/framework/LogFontRecord.h"
#include "properties/framework/PropChange.h"
#include "properties/pages/CUpdateAutoTextPage.h"
#include "properties/pages/CUpdateBarCodePage.h"
#include "properties/pages/CUpdateObjRulerBar.h"
#include "properties/pages/VinText.h"
#include "platform/Prompt.h"
#include "properties/pages/CUpdateFontPage.h"
#include "properties/pages/CUpdateObjVinPage.h"
#include "properties/pages/CUpdateTextPage.h"
#include "properties/pages/CUpdateTextTimePage.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextRuler.h"
#include "text/objects/CObjTextVin.h"
#include "values/DateFormatNames.h"
#include "values/PropertyMessages.h"

namespace {

constexpr int kFixedCornerMax = 8;

std::string Lowered(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The name before the first of `extensions` found past the first character.
std::string CutBefore(const std::string& name, std::initializer_list<const char*> extensions) {
  for (const char* ext : extensions) {
    const std::size_t at = name.find(ext, 1);
    if (at != std::string::npos) return name.substr(0, at);
  }
  return name;
}

void SplitPair(const std::string& pair, std::string& west, std::string& big) {
  const std::size_t plus = pair.find('+');
  west = plus == std::string::npos ? pair : pair.substr(0, plus);
  big = plus == std::string::npos ? std::string() : pair.substr(plus + 1);
}

CObjText* TextOf(CObjElement* element) { return element != nullptr ? element->GetObjectAs<CObjText>() : nullptr; }

}  // namespace

std::string CVendrikViewModel::WithWestFont(const std::string& pair, const std::string& fileName) {
  std::string west, big;
  SplitPair(pair, west, big);
  return CutBefore(Lowered(fileName), {".shx", ".fnt"}) + "+" + big;
}

std::string CVendrikViewModel::WithBigFont(const std::string& pair, const std::string& fileName) {
  std::string west, big;
  SplitPair(pair, west, big);
  return west + "+" + CutBefore(Lowered(fileName), {".shx"});
}

bool CVendrikViewModel::OnTextPropertyMessage(const platform::Message& message) {
  const UINT msg = message.msg;
  if (msg != WM_UPDATE_TEXT && msg != WM_UPDATE_FONT && msg != WM_UPDATE_AUTOTEXT && msg != WM_UPDATE_TEXTTIME &&
      msg != WM_UPDATE_OBJVIN && msg != WM_UPDATE_OBJRULERBAR && msg != WM_UPDATE_BARCODE)
    return false;
  std::shared_ptr<PROPCHANGE> record = PropChangeOf(message);
  if (!record || !IsChangeTargetAlive(*record)) return true;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  if (msg == WM_UPDATE_TEXT) {
    OnUpdateText(*record);
  } else if (msg == WM_UPDATE_FONT) {
    OnUpdateFont(*record);
  } else if (msg == WM_UPDATE_OBJRULERBAR) {
    OnUpdateObjRulerBar(*record);
  } else if (msg == WM_UPDATE_BARCODE) {
    OnUpdateBarCode(*record);
  } else {
    OnUpdateTextPlacement(message, *record);
  }
  return true;
}

void CVendrikViewModel::FinishTextChange(CObjElement& element) {
  element.UpdateBoundRect();
  m_pPropView->RefreshSheet(&element, static_cast<int>(m_selection.size()));
  GetSelectionBounds(m_selBounds);
  MarkModified(1);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnUpdateText(const PROPCHANGE& change) {
  static const std::map<int, TextPlacement> placements = {
      {CUpdateTextPage::kX, TextPlacement::LeftTopX},         {CUpdateTextPage::kY, TextPlacement::LeftTopY},
      {CUpdateTextPage::kRadius, TextPlacement::Radius},      {CUpdateTextPage::kOffsetAngle, TextPlacement::OffsetAngle},
      {CUpdateTextPage::kArcAngle, TextPlacement::ArcAngle},  {CUpdateTextPage::kFixedArcLength, TextPlacement::FixedArc},
      {CUpdateTextPage::kFixPosition, TextPlacement::FixPosition}};
  CObjElement* element = change.object;
  CObjText* text = TextOf(element);
  if (text == nullptr) return;
  if (change.id == CUpdateTextPage::kText) {
    text->GetPathData().SetOwner(element);
    PushHistory();
    text->SetText(PropToText(change.value), text->GetFixedPoint(element->boundRect), true);
    text->RecalcPath();
    FinishTextChange(*element);
    return;
  }
  const auto it = placements.find(change.id);
  if (it == placements.end()) {
    RebuildTextUnchanged(*element, *text);
    return;
  }
  ApplyTextPlacement(*element, *text, it->second, change.value);
}

void CVendrikViewModel::RebuildTextUnchanged(CObjElement& element, CObjText& text) {
  text.GetPathData().SetOwner(&element);
  if (element.type == OBJ_TEXT) {
    text.RecalcPath();
  } else {
    element.RefreshTypeObject();
  }
  FinishTextChange(element);
}

void CVendrikViewModel::OnUpdateTextPlacement(const platform::Message& message, const PROPCHANGE& change) {
  // The rows these objects share with a plain text: where the text stands
  // and how it lies on an arc. Their own rows (the serial's parts, the date
  // format, the VIN's characters) go through the objects' own setters.
  using P = TextPlacement;
  static const std::map<UINT, std::map<int, TextPlacement>> rows = {
      {WM_UPDATE_AUTOTEXT,
       {{CUpdateAutoTextPage::kX, P::LeftTopX}, {CUpdateAutoTextPage::kY, P::LeftTopY},
        {CUpdateAutoTextPage::kRadius, P::Radius}, {CUpdateAutoTextPage::kOffsetAngle, P::OffsetAngle},
        {CUpdateAutoTextPage::kArcAngle, P::ArcAngle}, {CUpdateAutoTextPage::kFixedArcLength, P::FixedArc},
        {CUpdateAutoTextPage::kFixPosition, P::FixPosition}}},
      {WM_UPDATE_TEXTTIME,
       {{CUpdateTextTimePage::kX, P::LeftTopX}, {CUpdateTextTimePage::kY, P::LeftTopY},
        {CUpdateTextTimePage::kRadius, P::Radius}, {CUpdateTextTimePage::kOffsetAngle, P::OffsetAngle},
        {CUpdateTextTimePage::kArcAngle, P::ArcAngle}, {CUpdateTextTimePage::kFixedArcLength, P::FixedArc},
        {CUpdateTextTimePage::kFixPosition, P::FixPosition}}},
      {WM_UPDATE_OBJVIN,
       {{CUpdateObjVinPage::kX, P::LeftTopX}, {CUpdateObjVinPage::kY, P::LeftTopY},
        {CUpdateObjVinPage::kRadius, P::Radius}, {CUpdateObjVinPage::kRotate, P::OffsetAngle},
        {CUpdateObjVinPage::kArcAngle, P::ArcAngle}, {CUpdateObjVinPage::kFixPosition, P::FixPosition},
        {CUpdateObjVinPage::kTwoLine, P::TwoLine}, {CUpdateObjVinPage::kOffsetX, P::SecondLineX},
        {CUpdateObjVinPage::kOffsetY, P::SecondLineY}}},
  };
  CObjElement* element = change.object;
  CObjText* text = TextOf(element);
  const auto table = rows.find(message.msg);
  if (text == nullptr || table == rows.end()) return;
  if (message.msg == WM_UPDATE_AUTOTEXT && ApplySerialRow(*element, change)) return;
  if (message.msg == WM_UPDATE_TEXTTIME && ApplyDateRow(*element, change)) return;
  if (message.msg == WM_UPDATE_OBJVIN && ApplyVinRow(*element, change)) return;
  const auto it = table->second.find(change.id);
  if (it == table->second.end()) {
    RebuildTextUnchanged(*element, *text);
    return;
  }
  const bool undoFixPosition = message.msg == WM_UPDATE_AUTOTEXT || message.msg == WM_UPDATE_OBJVIN;
  ApplyTextPlacement(*element, *text, it->second, change.value, undoFixPosition);
}

void CVendrikViewModel::ApplyTextPlacement(CObjElement& element, CObjText& text, TextPlacement what,
                                           const PropValue& v, bool undoFixPosition) {
  text.GetPathData().SetOwner(&element);
  const CDoublePoint anchor = text.GetFixedPoint(element.boundRect);
  if (what == TextPlacement::FixPosition) {
    // Only where the text is held changes; the layout stays as it is.
    const int corner = PropToInt(v);
    if (corner < 0 || corner > kFixedCornerMax) return;
    if (undoFixPosition) PushHistory();
    text.Settings().fixedCorner = corner;
    element.RefreshTypeObject();
    FinishTextChange(element);
    return;
  }
  PushHistory();
  TextSettings& s = text.Settings();
  // Each value is read at the width of its field, whatever width the page sent.
  switch (what) {
    case TextPlacement::LeftTopX:
    case TextPlacement::LeftTopY: {
      // The text moves to the new corner (laid out from it, not held).
      CDoublePoint corner = s.position;
      (what == TextPlacement::LeftTopX ? corner.x : corner.y) = PropToDouble(v);
      s.position = corner;
      text.SetText(text.GetText(), corner, false);
      break;
    }
    case TextPlacement::Radius: s.arcRadius = PropToFloat(v); break;
    case TextPlacement::OffsetAngle: s.deflection = PropToFloat(v); break;
    case TextPlacement::ArcAngle: s.arcSize = PropToFloat(v); break;
    case TextPlacement::FixedArc: s.arcArrangement = PropToInt(v); break;
    case TextPlacement::TwoLine: text.SetSplitDisplay(PropToInt(v) != 0); break;
    case TextPlacement::SecondLineX: s.offsetX2 = PropToFloat(v); break;
    case TextPlacement::SecondLineY: s.offsetY2 = PropToFloat(v); break;
    case TextPlacement::FixPosition: break;
  }
  if (what != TextPlacement::LeftTopX && what != TextPlacement::LeftTopY)
    text.SetText(text.GetText(), anchor, true);
  element.RefreshTypeObject();
  FinishTextChange(element);
}

void CVendrikViewModel::OnUpdateFont(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  CObjText* text = TextOf(element);
  // The barcode and the ruler rebuild through their own objects.
  const bool textType = element != nullptr && (element->type == OBJ_TEXT || element->type == OBJ_DATE ||
                                                element->type == OBJ_SERIAL || element->type == OBJ_VIN);
  if (text != nullptr && element != nullptr && (element->type == OBJ_BARCODE || element->type == OBJ_RULER)) {
    OnUpdateCodeOrRulerFont(*element, change);
    return;
  }
  if (text == nullptr || !textType) {
    m_bMemValid = false;
    if (m_pWindow != nullptr) m_pWindow->Invalidate();
    return;
  }
  text->GetPathData().SetOwner(element);
  const CDoublePoint anchor = text->GetFixedPoint(element->boundRect);
  bool known = true;
  switch (change.id) {
    case CUpdateFontPage::kHeight: case CUpdateFontPage::kItalic: case CUpdateFontPage::kRotate: case CUpdateFontPage::kWidthFactor: case CUpdateFontPage::kSpacing:
    case CUpdateFontPage::kFixedWidth: case CUpdateFontPage::kWest: case CUpdateFontPage::kChinese: case CUpdateFontPage::kDotFont: case CUpdateFontPage::kTrueType:
    case CUpdateFontPage::kFonts: case CUpdateFontPage::kDotMode: break;
    default: known = false;
  }
  if (known) {
    PushHistory();
    if (!ApplyFontRow(*text, change)) return;
    text->SetText(text->GetText(), anchor, true);
  }
  element->RefreshTypeObject();
  FinishTextChange(*element);
}

bool CVendrikViewModel::ApplyFontRow(CObjText& text, const PROPCHANGE& change) {
  const PropValue& v = change.value;
  TextSettings& s = text.Settings();
  switch (change.id) {
    case CUpdateFontPage::kHeight: {
      const float height = PropToFloat(v);
      if (!(height > 0) || !std::isfinite(height)) return false;
      // A text without a nominal height takes the page's height as its own:
      // a factor over 0 would be infinite.
      if (!(s.charHeight > 0) || !std::isfinite(s.charHeight)) {
        s.charHeight = height;
        s.heightRatio = 1.0;
      } else {
        // In double: the page shows the product with a float's digits, and a
        // quotient rounded to float gives back a neighbour of the typed value.
        s.heightRatio = static_cast<double>(height) / s.charHeight;
      }
      break;
    }
    case CUpdateFontPage::kItalic: s.slant = PropToFloat(v); break;
    case CUpdateFontPage::kRotate: s.rotation = PropToFloat(v); break;
    case CUpdateFontPage::kWidthFactor: s.aspectRatio = PropToFloat(v); break;
    case CUpdateFontPage::kSpacing: s.charSpacing = PropToFloat(v); break;
    case CUpdateFontPage::kFixedWidth: s.fixedCharWidth = PropToFloat(v); break;
    case CUpdateFontPage::kWest: s.strokeFontPair = WithWestFont(s.strokeFontPair, PropToText(v)); break;
    case CUpdateFontPage::kChinese: s.strokeFontPair = WithBigFont(s.strokeFontPair, PropToText(v)); break;
    case CUpdateFontPage::kDotFont: s.dotKind = PropToInt(v); break;
    case CUpdateFontPage::kTrueType: text.SetTrueTypeMode(PropToInt(v) != 0); break;
    case CUpdateFontPage::kFonts: DecodeLogFont(PropToText(v), s.font); break;
    case CUpdateFontPage::kDotMode: text.SetDotFontMode(PropToInt(v) != 0); break;
    default: break;
  }
  return true;
}

void CVendrikViewModel::OnUpdateCodeOrRulerFont(CObjElement& element, const PROPCHANGE& change) {
  using F = CUpdateFontPage;
  auto* text = element.GetObjectAs<CObjText>();
  text->GetPathData().SetOwner(&element);
  auto* ruler = element.GetObjectAs<CObjTextRuler>();
  auto* code = element.GetObjectAs<CObjBarCode>();
  // The ruler's labels take the font, its size and slant, not the spacing.
  static const std::set<int> rulerRows = {F::kHeight, F::kItalic, F::kRotate, F::kWidthFactor, F::kWest,
                                          F::kChinese, F::kDotFont, F::kTrueType, F::kFonts, F::kDotMode};
  static const std::set<int> codeRows = {F::kHeight,  F::kItalic,  F::kRotate,  F::kWidthFactor,
                                         F::kSpacing, F::kFixedWidth, F::kWest, F::kChinese,
                                         F::kDotFont, F::kTrueType, F::kFonts, F::kDotMode};
  const bool known = ruler != nullptr ? rulerRows.count(change.id) > 0 : codeRows.count(change.id) > 0;
  if (!known || (ruler == nullptr && code == nullptr)) {
    m_bMemValid = false;
    if (m_pWindow != nullptr) m_pWindow->Invalidate();
    return;
  }
  const CDoublePoint anchor = text->GetFixedPoint(element.boundRect);
  PushHistory();
  if (!ApplyFontRow(*text, change)) return;
  if (ruler != nullptr) {
    ruler->CreatePoints(anchor, true);
  } else {
    code->AddTextPath();
  }
  FinishTextChange(element);
}

bool CVendrikViewModel::ApplySerialRow(CObjElement& element, const PROPCHANGE& change) {
  using Page = CUpdateAutoTextPage;
  auto* number = element.GetObjectAs<CObjTextAutoUpdate>();
  if (number == nullptr) return false;
  number->GetPathData().SetOwner(&element);
  const CDoublePoint anchor = number->GetFixedPoint(element.boundRect);
  const PropValue& v = change.value;
  switch (change.id) {
    case Page::kPrefix:
    case Page::kSerial:
    case Page::kSuffix: {
      PushHistory();
      const std::string part = PropToText(v);
      if (change.id == Page::kPrefix) number->SetPrefix(anchor, part);
      if (change.id == Page::kSerial) number->SetSerial(anchor, part);
      if (change.id == Page::kSuffix) number->SetSuffix(anchor, part);
      if (change.id == Page::kSerial) m_pPropView->ReloadPages(&element);
      break;
    }
    case Page::kJump:
      PushHistory();
      number->Serial().step = PropToInt(v);
      MarkModified(1);
      return true;
    case Page::kSameNo:
      number->SetMarksPerNumber(PropToInt(v));
      MarkModified(1);
      return true;
    case Page::kRandOn:
    case Page::kRandLength:
    case Page::kDate: {
      SerialSettings& ser = number->Serial();
      if (change.id == Page::kRandOn) ser.tailSwitch = PropToInt(v);
      if (change.id == Page::kRandLength) ser.tailLength = PropToInt(v);
      if (change.id == Page::kDate) {
        const int mode = PropToInt(v);
        if (mode < 0 || mode > 2) return true;
        ser.dateMode = mode;
      }
      m_pPropView->ReloadPages(&element);
      number->SetText(number->ComposeText(), anchor, true);
      break;
    }
    case Page::kDownLimit: number->Serial().lower = PropToText(v); break;
    case Page::kUpLimit: number->Serial().upper = PropToText(v); break;
    default: return false;
  }
  element.RefreshTypeObject();
  FinishTextChange(element);
  return true;
}

bool CVendrikViewModel::ApplyDateRow(CObjElement& element, const PROPCHANGE& change) {
  auto* date = element.GetObjectAs<CObjTextDate>();
  if (date == nullptr || change.id != CUpdateTextTimePage::kDateStyle) return false;
  date->GetPathData().SetOwner(&element);
  const CDoublePoint anchor = date->GetFixedPoint(element.boundRect);
  const auto& names = DateFormatNames();
  std::string shown;
  // The page sends the style's name; an index names the same entry.
  if (std::holds_alternative<std::string>(change.value)) {
    shown = date->UpdateText(PropToText(change.value), names);
  } else {
    const int format = PropToInt(change.value);
    if (format < 0 || format >= kDateFormatCount) return true;
    shown = date->UpdateText(names[static_cast<std::size_t>(format)], names);
  }
  PushHistory();
  date->SetText(shown, anchor, true);
  element.RefreshTypeObject();
  FinishTextChange(element);
  return true;
}

bool CVendrikViewModel::ApplyVinRow(CObjElement& element, const PROPCHANGE& change) {
  using Page = CUpdateObjVinPage;
  struct PartAt {
    std::size_t at;
    std::size_t count;
  };
  // The characters of the number each part field writes.
  static const std::map<int, PartAt> parts = {
      {Page::kWmi, {0, 3}},   {Page::kChar4, {3, 1}}, {Page::kChar5, {4, 1}}, {Page::kChar6, {5, 1}},
      {Page::kChar7, {6, 1}}, {Page::kChar8, {7, 1}}, {Page::kYear, {9, 1}},  {Page::kPlant, {10, 1}},
      {Page::kMakeOrder, {11, 6}}, {Page::kCheckChar, {8, 1}}};
  auto* vin = element.GetObjectAs<CObjTextVin>();
  if (vin == nullptr) return false;
  vin->GetPathData().SetOwner(&element);
  const CDoublePoint anchor = vin->GetFixedPoint(element.boundRect);
  const PropValue& v = change.value;
  std::string next;
  const auto part = parts.find(change.id);
  if (part != parts.end()) {
    next = vin->GetText();
    std::string value = PropToText(v).substr(0, part->second.count);
    if (next.size() < kVinLength || value.empty()) {
      platform::MessageBox(kVinStyleError);
      return true;
    }
    PutVinPart(next, part->second.at, value);
  } else if (change.id == Page::kCode) {
    next = PropToText(v);
  } else if (change.id == Page::kStar) {
    PushHistory();
    vin->Settings().starMode = PropToInt(v);
    vin->SetText(vin->GetText(), anchor, true);
    element.RefreshTypeObject();
    FinishTextChange(element);
    return true;
  } else if (change.id == Page::kZoom) {
    PushHistory();
    vin->SetEnlarged(PropToInt(v));
    element.RefreshTypeObject();
    FinishTextChange(element);
    return true;
  } else {
    return false;
  }
  if (change.id == Page::kCheckChar) {
    // The check character typed by hand is laid out as it is.
    if (HasRefusedVinLetter(next)) {
      platform::MessageBox(kVinStyleError);
      return true;
    }
    PushHistory();
    vin->SetText(next, anchor, true);
  } else {
    // A number the check refuses leaves the object as it was.
    if (!vin->CheckDigit(next)) {
      platform::MessageBox(kVinStyleError);
      return true;
    }
    PushHistory();
    vin->SetVinText(anchor, next);
  }
  element.RefreshTypeObject();
  FinishTextChange(element);
  return true;
}

void CVendrikViewModel::OnUpdateObjRulerBar(const PROPCHANGE& change) {
  using Page = CUpdateObjRulerBar;
  CObjElement* element = change.object;
  auto* ruler = element != nullptr ? element->GetObjectAs<CObjTextRuler>() : nullptr;
  if (ruler == nullptr) return;
  ruler->GetPathData().SetOwner(element);
  const PropValue& v = change.value;
  const int i = PropToInt(v);
  const float f = PropToFloat(v);
  // The label settings only show while the ruler has labels.
  const bool labelOnly = change.id == Page::kStartValue || change.id == Page::kDecimals ||
                         change.id == Page::kReverse || change.id == Page::kTextDistance;
  const bool rebuild = !labelOnly || ruler->Ruler().textMode >= 1;
  static const std::map<int, int> known = {
      {Page::kGraduations, 0}, {Page::kUnitWidth, 0}, {Page::kHeight, 0},       {Page::kBigLines, 0},
      {Page::kSmallFactor, 0}, {Page::kMiddleFactor, 0}, {Page::kStartValue, 0}, {Page::kDecimals, 0},
      {Page::kUnitValue, 0},   {Page::kReverse, 0},      {Page::kSectorRadius, 0}, {Page::kWidthDegree, 0},
      {Page::kTextDistance, 0}, {Page::kStartAngle, 0},  {Page::kOutText, 0},     {Page::kBottom, 0},
      {Page::kSymmetry, 0},    {Page::kStartEnd, 0},     {Page::kOneWay, 0}};
  if (known.count(change.id) == 0) {
    MarkModified(1);
    return;
  }
  if (change.id == Page::kGraduations && (i < 0 || i > kRulerMaxUnits)) return;
  if (change.id == Page::kStartEnd && (i < 0 || i > 2)) return;
  if (rebuild) PushHistory();
  RulerSettings& r = ruler->Ruler();
  switch (change.id) {
    case Page::kGraduations: r.units = i; break;
    case Page::kUnitWidth:
      r.lineW = f;
      ruler->UpdateArcAngle();
      break;
    case Page::kHeight: r.rHeight = f; break;
    case Page::kBigLines: r.bigUnits = i; break;
    case Page::kSmallFactor: r.sf = f; break;
    case Page::kMiddleFactor: r.mf = f; break;
    case Page::kStartValue: r.sv = f; break;
    case Page::kDecimals: r.zero = i; break;
    case Page::kUnitValue: r.uv = f; break;
    case Page::kReverse: r.reverse = i; break;
    case Page::kSectorRadius: r.ur = f; break;
    case Page::kWidthDegree: r.arcW = f; break;
    case Page::kTextDistance: r.textDis = f; break;
    case Page::kStartAngle: r.sAngle = f; break;
    case Page::kOutText: r.textMode = i; break;
    case Page::kBottom: r.dir = i; break;
    case Page::kSymmetry: r.arcMode = i; break;
    case Page::kStartEnd: ruler->Marks().startEnd = i; break;
    case Page::kOneWay: ruler->Marks().oneWay = i != 0 ? 1 : 0; break;
    default: break;
  }
  if (!rebuild) {
    m_pPropView->ReloadPages(element);
    MarkModified(1);
    return;
  }
  ruler->CreatePoints(ruler->GetFixedPoint(element->boundRect), true);
  if (change.id != Page::kStartAngle) m_pPropView->ReloadPages(element);
  FinishTextChange(*element);
}

void CVendrikViewModel::FinishCodeChange(CObjElement& element) {
  auto* code = element.GetObjectAs<CObjBarCode>();
  element.UpdateBoundRect();
  if (code != nullptr) code->AddTextPath();
  FinishTextChange(element);
}

void CVendrikViewModel::OnUpdateBarCode(const PROPCHANGE& change) {
  using Page = CUpdateBarCodePage;
  enum class Then { Record, TailT, Keep0, Keep1 };
  static const std::map<int, Then> rows = {
      {Page::kDataMatrix, Then::Keep1}, {Page::kQr, Then::Keep1},        {Page::kFormat, Then::Keep0},
      {Page::kCodeType, Then::Keep0},   {Page::kPrefix, Then::TailT},    {Page::kSerial, Then::TailT},
      {Page::kSuffix, Then::TailT},     {Page::kCodeX, Then::Keep0},     {Page::kCodeY, Then::Keep0},
      {Page::kTextAlign, Then::TailT},  {Page::kOutText, Then::TailT},   {Page::kJump, Then::Record},
      {Page::kSameNo, Then::Record},    {Page::kTextX, Then::TailT},     {Page::kTextY, Then::TailT},
      {Page::kVersion, Then::Keep1},    {Page::kErrorLevel, Then::Keep1}, {Page::kMask, Then::Keep1},
      {Page::kOptimize, Then::Keep0},   {Page::kDotSize, Then::Keep1},   {Page::kString, Then::Keep0},
      {Page::kScan, Then::Record},      {Page::kRotate, Then::Keep0},    {Page::kDate, Then::Keep0},
      {Page::kTwoLine, Then::Keep0},    {Page::kOffsetX, Then::Keep0},   {Page::kOffsetY, Then::Keep0}};
  CObjElement* element = change.object;
  auto* code = element != nullptr ? element->GetObjectAs<CObjBarCode>() : nullptr;
  const auto row = rows.find(change.id);
  if (code == nullptr || row == rows.end()) {
    MarkModified(1);
    return;
  }
  code->GetPathData().SetOwner(element);
  // The code is held by its modules, not by its text.
  CDoubleRect modules = element->boundRect;
  code->GetPathData().GetKind2BoundRect(modules);
  const CDoublePoint point = code->GetFixedPoint(modules);
  // Every row changes what the code holds: Undo takes it back alone.
  PushHistory();
  const PropValue& v = change.value;
  BarCodeSettings& c = code->Code();
  std::string newText;
  switch (change.id) {
    case Page::kDataMatrix: c.codeType = BARCODE_DATAMATRIX; break;
    case Page::kQr: c.codeType = BARCODE_QR; break;
    case Page::kFormat: c.dmSize = PropToInt(v); break;
    case Page::kCodeType: c.dmScheme = PropToInt(v); break;
    case Page::kPrefix: code->SetPrefix(point, PropToText(v)); break;
    case Page::kSerial: code->SetSerial(point, PropToText(v)); break;
    case Page::kSuffix: code->SetSuffix(point, PropToText(v)); break;
    case Page::kCodeX: code->Settings().position.x = PropToDouble(v); break;
    case Page::kCodeY: code->Settings().position.y = PropToDouble(v); break;
    case Page::kTextAlign:
      c.textDirection = PropToInt(v);
      code->UpdateTextPosition();
      break;
    case Page::kOutText: c.showText = PropToInt(v); break;
    case Page::kJump: code->Serial().step = PropToInt(v); break;
    case Page::kSameNo: code->SetMarksPerNumber(PropToInt(v)); break;
    case Page::kTextX: c.textPosition.x = PropToDouble(v); break;
    case Page::kTextY: c.textPosition.y = PropToDouble(v); break;
    case Page::kVersion: c.qrVersion = PropToInt(v); break;
    case Page::kErrorLevel: c.qrLevel = PropToInt(v); break;
    case Page::kMask: c.qrMask = PropToInt(v); break;
    case Page::kOptimize: c.dotOrder = PropToInt(v); break;
    case Page::kDotSize: code->SetModuleSize(PropToFloat(v)); break;
    case Page::kString: newText = PropToText(v); break;
    case Page::kScan: c.inputMode = PropToInt(v); break;
    case Page::kRotate: c.angle = PropToFloat(v); break;
    case Page::kDate: {
      const int mode = PropToInt(v);
      if (mode >= 0 && mode <= 2) code->Serial().dateMode = mode;
      newText = code->ComposeText();
      break;
    }
    case Page::kTwoLine: code->SetSplitDisplay(PropToInt(v) != 0); break;
    case Page::kOffsetX: code->Settings().offsetX2 = PropToFloat(v); break;
    case Page::kOffsetY: code->Settings().offsetY2 = PropToFloat(v); break;
    default: break;
  }
  switch (row->second) {
    case Then::Record: MarkModified(1); return;
    case Then::TailT: break;
    case Then::Keep0:
    case Then::Keep1: {
      const int keep = row->second == Then::Keep1 ? 1 : 0;
      if (!newText.empty()) {
        code->SetCodeText(point, newText, keep, 1);
      } else {
        code->Rebuild(point, keep, 0, 0);
        code->RecalcPath();
      }
      break;
    }
  }
  FinishCodeChange(*element);
}
