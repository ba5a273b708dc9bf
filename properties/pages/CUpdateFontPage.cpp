#include "properties/pages/CUpdateFontPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <filesystem>

#include "document/objects/CObjElement.h"
#include "platform/Cp936.h"
#include "platform/FontDialog.h"
#include "properties/framework/LogFontRecord.h"
#include "properties/framework/PageControls.h"
#include "properties/pages/FontFileLists.h"
#include "text/fonts/folder/FontFolder.h"
#include "text/objects/CObjText.h"
#include "values/PropertyMessages.h"
#include "values/ShellValues.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

const char* const kDotFontNames[6] = {"12x12 chinese matrix", "16x16 chinese matrix", "24x24 chinese matrix",
                                      "24X24 chinese matrix", "5X7 matrix-1",         "5X7 matrix-2"};

namespace {
constexpr float kHeightMin = 0.2f;
constexpr float kHeightStep = 0.5f;
constexpr float kAngleStep = 15;
constexpr float kFullTurn = 360;
constexpr float kFactorStep = 0.1f;

QStringList ToList(const std::vector<std::string>& names) {
  QStringList list;
  for (const std::string& n : names) list << QString::fromStdString(n);
  return list;
}

std::string FileNameOf(const std::string& name, const char* ext) { return name.empty() ? name : name + ext; }
}  // namespace

CUpdateFontPage::CUpdateFontPage() : CPropertyPage(kDialogId, "Font", kPageCode, WM_UPDATE_FONT) {
  PageControls controls(this);
  CSpinButton* heightSpin = nullptr;
  CSpinButton* italicSpin = nullptr;
  CSpinButton* rotateSpin = nullptr;
  CSpinButton* spacingSpin = nullptr;
  CSpinButton* factorSpin = nullptr;
  CSpinButton* chineseSpin = nullptr;
  CNotifyEdit* heightEdit = controls.Edit("Text height:", kHeight, &heightSpin, kHeightSpin);
  CNotifyEdit* italicEdit = controls.Edit("Italic angle:", kItalic, &italicSpin, kItalicSpin);
  CNotifyEdit* rotateEdit = controls.Edit("Rotate angle:", kRotate, &rotateSpin, kRotateSpin);
  CNotifyEdit* spacingEdit = controls.Edit("Additional distance:", kSpacing, &spacingSpin, kSpacingSpin);
  CNotifyEdit* fixedEdit = controls.Edit("Fixed width", kFixedWidth);
  controls.Text("Default 0:auto");
  CNotifyEdit* factorEdit = controls.Edit("W/H factor:", kWidthFactor, &factorSpin, kWidthFactorSpin);
  CNotifyEdit* chineseEdit = controls.Edit("Chinese factor:", kChineseFactor, &chineseSpin, kChineseFactorSpin);
  // Width factor and Chinese factor are kept but not offered.
  for (QWidget* w : std::initializer_list<QWidget*>{factorEdit, factorSpin, chineseEdit, chineseSpin}) {
    w->hide();
    w->setEnabled(false);
  }
  for (int id : {kWidthFactor, kChineseFactor})
    if (auto* label = findChild<QLabel*>(QString("label%1").arg(id))) label->hide();
  dotBox_ = controls.Check("Apply dot fonts", kDotMode);
  QStringList dots;
  for (const char* name : kDotFontNames) dots << name;
  dotCombo_ = controls.Combo("Dot font:", kDotFont, dots);
  westCombo_ = controls.Combo("West:", kWest, {});
  chineseCombo_ = controls.Combo("Chinese:", kChinese, {});
  westCombo_->setEditable(true);
  chineseCombo_->setEditable(true);
  trueTypeBox_ = controls.Check("Apply Windows font(TTF)", kTrueType);
  controls.Text("Font name");
  fontNameLabel_ = controls.Text("");
  fontNameLabel_->setObjectName(QString("label%1").arg(kFontName));
  fontsButton_ = controls.Button("Fonts...", kFonts);
  controls.Stretch();

  bindings_.Edit(kHeight, heightEdit, &height);
  bindings_.Edit(kItalic, italicEdit, &italic);
  bindings_.Edit(kRotate, rotateEdit, &rotate);
  bindings_.Edit(kWidthFactor, factorEdit, &widthFactor);
  bindings_.Edit(kChineseFactor, chineseEdit, &chineseFactor);
  bindings_.Edit(kSpacing, spacingEdit, &spacing);
  bindings_.Edit(kFixedWidth, fixedEdit, &fixedWidth);
  bindings_.Check(kDotMode, dotBox_, &dotMode);
  bindings_.ComboIndex(kDotFont, dotCombo_, &dotIndex);
  bindings_.ComboText(kDotFont, dotCombo_, &dotText);
  bindings_.ComboText(kWest, westCombo_, &west);
  bindings_.ComboText(kChinese, chineseCombo_, &chinese);
  bindings_.Check(kTrueType, trueTypeBox_, &trueType);

  for (auto [edit, id] : {std::pair{heightEdit, kHeight}, {italicEdit, kItalic}, {rotateEdit, kRotate},
                          {factorEdit, kWidthFactor}, {spacingEdit, kSpacing}, {fixedEdit, kFixedWidth}})
    edit->SetKeyHandler([this, id = id](int) { OnKey(id); });
  heightSpin->SetDeltaHandler([this](int d) { OnSpin(height, d, kHeight); });
  italicSpin->SetDeltaHandler([this](int d) { OnSpin(italic, d, kItalic); });
  rotateSpin->SetDeltaHandler([this](int d) { OnSpin(rotate, d, kRotate); });
  spacingSpin->SetDeltaHandler([this](int d) { OnSpin(spacing, d, kSpacing); });
  factorSpin->SetDeltaHandler([this](int d) { OnSpin(widthFactor, d, kWidthFactor); });
  connect(trueTypeBox_, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    if (trueType) dotMode = 0;
    UpdateData(false);
    EnableControls();
    PostChange(kTrueType);
  });
  connect(dotBox_, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    if (dotMode) trueType = 0;
    UpdateData(false);
    EnableControls();
    PostChange(kDotMode);
  });
  connect(westCombo_, qOverload<int>(&QComboBox::activated), this, [this](int) { PostChange(kWest); });
  connect(chineseCombo_, qOverload<int>(&QComboBox::activated), this, [this](int) { PostChange(kChinese); });
  connect(dotCombo_, qOverload<int>(&QComboBox::activated), this, [this](int) {
    UpdateData(true);
    UpdateData(false);
    PostChange(kDotFont);
  });
  connect(fontsButton_, &QPushButton::clicked, this, [this] { OnFontsButton(); });
  FinishControls();
}

void CUpdateFontPage::LoadFromObject(CObjElement& element) {
  auto* object = element.GetObjectAs<CObjText>();
  if (object == nullptr) return;
  const TextSettings& s = object->Settings();
  logFont = s.font;
  height = static_cast<float>(s.charHeight * s.heightRatio);
  italic = s.slant;
  rotate = s.rotation;
  widthFactor = static_cast<float>(s.aspectRatio);
  spacing = s.charSpacing;
  fixedWidth = s.fixedCharWidth;
  trueType = (s.flags & TEXT_TRUETYPE) ? 1 : 0;
  dotMode = (s.flags & TEXT_DOT_FONT) ? 1 : 0;
  dotIndex = s.dotKind >= 0 && s.dotKind < 6 ? s.dotKind : 0;
  dotText = kDotFontNames[dotIndex];
  const std::size_t plus = s.strokeFontPair.find('+');
  const std::string main = s.strokeFontPair.substr(0, plus);
  const std::string big = plus == std::string::npos ? std::string() : s.strokeFontPair.substr(plus + 1);
  // A main font without its ".shx" file is an old ".fnt" font.
  std::error_code ec;
  const bool shx = !main.empty() && std::filesystem::exists(FontFilePath(g_installDir, main + ".shx"), ec);
  west = FileNameOf(main, shx ? ".shx" : ".fnt");
  chinese = FileNameOf(big, ".shx");
  fontName = logFont.faceName;
}

void CUpdateFontPage::OnInitDialog() {
  FillFontLists();
  fontNameLabel_->setText(QString::fromStdString(platform::Cp936ToUtf8(fontName)));
  UpdateData(false);
  EnableControls();
}

void CUpdateFontPage::FillFontLists() {
  const FontFileLists lists = ListFontFiles(g_installDir);
  westCombo_->clear();
  westCombo_->addItems(ToList(lists.west));
  chineseCombo_->clear();
  chineseCombo_->addItems(ToList(lists.chinese));
}

void CUpdateFontPage::EnableControls() {
  westCombo_->setEnabled(!trueType && !dotMode);
  chineseCombo_->setEnabled(!trueType && !dotMode);
  fontsButton_->setEnabled(trueType != 0);
  dotBox_->setEnabled(trueType == 0);
  trueTypeBox_->setEnabled(dotMode == 0);
  dotCombo_->setEnabled(dotMode != 0);
}

void CUpdateFontPage::PrepareValue(int id) {
  // The lists' texts are read when the sheet takes the change.
  if (id == kWest || id == kChinese) UpdateData(true);
}

PropValue CUpdateFontPage::ValueOf(int id) const {
  if (id == kFonts) return EncodeLogFont(logFont);
  return CPropertyPage::ValueOf(id);
}

void CUpdateFontPage::OnKey(int id) {
  const float oldHeight = height, oldItalic = italic, oldRotate = rotate, oldFactor = widthFactor;
  const float oldSpacing = spacing, oldFixed = fixedWidth;
  if (!UpdateData(true)) return;
  bool post = false;
  switch (id) {
    case kHeight:
      if (!(height >= kHeightMin)) {
        height = kHeightMin;
        bindings_.LoadOne(kHeight);
      }
      post = std::fabs(height - oldHeight) > 0.0001f;
      break;
    case kItalic: post = italic != oldItalic; break;
    case kRotate: post = rotate != oldRotate; break;
    case kWidthFactor: post = widthFactor != oldFactor; break;
    case kSpacing: post = std::fabs(spacing - oldSpacing) >= 0.001f; break;
    case kFixedWidth: post = std::fabs(fixedWidth - oldFixed) >= 0.001f && fixedWidth >= 0; break;
    default: break;
  }
  if (post) PostChange(id);
}

void CUpdateFontPage::OnSpin(float& value, int delta, int id) {
  UpdateData(true);
  const float before = value;
  const bool up = delta < 0;
  switch (id) {
    case kHeight:
      if (up) {
        value += kHeightStep;
      } else {
        value = value >= kHeightMin + kHeightStep ? value - kHeightStep : kHeightMin;
      }
      break;
    case kItalic:
    case kRotate:
      value += up ? kAngleStep : -kAngleStep;
      if (value > kFullTurn) value -= kFullTurn;
      if (value < -kFullTurn) value += kFullTurn;
      break;
    case kSpacing: value += up ? 1.0f : -1.0f; break;
    case kWidthFactor: value += up ? kFactorStep : -kFactorStep; break;
    default: return;
  }
  bindings_.LoadOne(id);
  if (value != before) PostChange(id);
}

void CUpdateFontPage::OnFontsButton() {
  const TextLogFont before = logFont;
  // The chooser speaks UTF-8; the text keeps code page 936 bytes.
  platform::FontChoice initial{platform::Cp936ToUtf8(logFont.faceName), logFont.height, logFont.weight,
                               logFont.italic != 0};
  const std::optional<platform::FontChoice> chosen = platform::CurrentFontDialog().Ask(initial);
  if (!chosen) return;
  logFont.faceName = platform::Utf8ToCp936(chosen->faceName).substr(0, kTextFaceNameMax);
  logFont.height = chosen->height;
  logFont.weight = chosen->weight;
  logFont.italic = chosen->italic ? 1 : 0;
  fontName = logFont.faceName;
  fontNameLabel_->setText(QString::fromStdString(platform::Cp936ToUtf8(fontName)));
  const bool same = logFont.faceName == before.faceName && logFont.height == before.height &&
                    logFont.weight == before.weight && logFont.italic == before.italic;
  if (same) return;
  UpdateData(false);
  PostChange(kFonts);
}
