// The layout view's handlers of the text page and the font page: the value
// of the change record is written into the text object, which is then laid
// out again where its fixed position says, so it keeps its place.
#include <cctype>
#include <cmath>
#include <map>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "properties/framework/LogFontRecord.h"
#include "properties/framework/PropChange.h"
#include "properties/pages/CUpdateAutoTextPage.h"
#include "properties/pages/CUpdateFontPage.h"
#include "properties/pages/CUpdateObjVinPage.h"
#include "properties/pages/CUpdateTextPage.h"
#include "properties/pages/CUpdateTextTimePage.h"
#include "text/objects/CObjText.h"
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
      msg != WM_UPDATE_OBJVIN)
    return false;
  std::shared_ptr<PROPCHANGE> record = PropChangeOf(message);
  if (!record) return true;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  if (msg == WM_UPDATE_TEXT) {
    OnUpdateText(*record);
  } else if (msg == WM_UPDATE_FONT) {
    OnUpdateFont(*record);
  } else {
    OnUpdateTextPlacement(message, *record);
  }
  return true;
}

void CVendrikViewModel::FinishTextChange(CObjElement& element) {
  element.UpdateBoundRect();
  m_pPropView->RefreshSheet(&element, static_cast<int>(m_selection.size()));
  GetSelectionBounds(m_selBounds);
  if (m_pDocument != nullptr) m_pDocument->SetModifiedFlag(true);
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
  if (it != placements.end()) ApplyTextPlacement(*element, *text, it->second, change.value);
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
  const auto it = table->second.find(change.id);
  if (it != table->second.end()) ApplyTextPlacement(*element, *text, it->second, change.value);
}

void CVendrikViewModel::ApplyTextPlacement(CObjElement& element, CObjText& text, TextPlacement what,
                                           const PropValue& v) {
  text.GetPathData().SetOwner(&element);
  const CDoublePoint anchor = text.GetFixedPoint(element.boundRect);
  if (what == TextPlacement::FixPosition) {
    // Only where the text is held changes; the layout stays as it is.
    const int corner = PropToInt(v);
    if (corner < 0 || corner > kFixedCornerMax) return;
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
  if (text == nullptr || !textType) {
    m_bMemValid = false;
    if (m_pWindow != nullptr) m_pWindow->Invalidate();
    return;
  }
  text->GetPathData().SetOwner(element);
  const CDoublePoint anchor = text->GetFixedPoint(element->boundRect);
  const PropValue& v = change.value;
  bool known = true;
  switch (change.id) {
    case CUpdateFontPage::kHeight: case CUpdateFontPage::kItalic: case CUpdateFontPage::kRotate: case CUpdateFontPage::kWidthFactor: case CUpdateFontPage::kSpacing:
    case CUpdateFontPage::kFixedWidth: case CUpdateFontPage::kWest: case CUpdateFontPage::kChinese: case CUpdateFontPage::kDotFont: case CUpdateFontPage::kTrueType:
    case CUpdateFontPage::kFonts: case CUpdateFontPage::kDotMode: break;
    default: known = false;
  }
  if (known) {
    PushHistory();
    TextSettings& s = text->Settings();
    switch (change.id) {
      case CUpdateFontPage::kHeight: {
        const float height = PropToFloat(v);
        if (!(height > 0) || !std::isfinite(height)) return;
        // A text without a nominal height takes the page's height as its own:
        // a factor over 0 would be infinite.
        if (!(s.charHeight > 0) || !std::isfinite(s.charHeight)) {
          s.charHeight = height;
          s.heightRatio = 1.0;
        } else {
          s.heightRatio = height / s.charHeight;
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
      case CUpdateFontPage::kTrueType: text->SetTrueTypeMode(PropToInt(v) != 0); break;
      case CUpdateFontPage::kFonts: DecodeLogFont(PropToText(v), s.font); break;
      case CUpdateFontPage::kDotMode: text->SetDotFontMode(PropToInt(v) != 0); break;
      default: break;
    }
    text->SetText(text->GetText(), anchor, true);
  }
  element->RefreshTypeObject();
  FinishTextChange(*element);
}
