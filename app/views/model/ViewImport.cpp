// Drawings, pictures and dot images from outside files: plotter (.plt) and
// drawing-exchange (.dxf) files become polylines (DXF points a dot image),
// pictures become picture objects and .pts files dot images.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/core/MissingFontMessage.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/doc/PointsImage.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "document/objects/CObjPolyLine.h"
#include "document/path/PointOrdering.h"
#include "platform/FileDialog.h"
#include "platform/PictureLoader.h"
#include "platform/Prompt.h"
#include "text/exchange/dxf/DxfImport.h"
#include "text/exchange/hpgl/PltDrawingLoader.h"
#include "text/exchange/hpgl/PltImport.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

namespace {

constexpr int ID_IMPORT_FILE = 32782;
constexpr int ID_IMPORT_MODULES = 32857;
constexpr int ID_IMPORT_POINTS_IMAGE = 32742;
constexpr int kImportToolCode = 12;

constexpr char kPltMessage[] = "PLT is must AutoCad R14(HP_7475)\nor AutoCad R2000(HP_7550A)\nor Coreldraw9";
constexpr char kOpenError[] = "Open file error!";
constexpr char kNotIdentified[] = "Cann't identified file!";
constexpr char kDxfNotSimple[] = "Dxf file is must is simple module!";
constexpr char kPictureNotRead[] = "This picture cannot be read!";

constexpr char kDrawingFilter[] = "R12,R14,R2000(*.dxf)|*.dxf|HP系列-plt (*.plt)|*.plt||";
constexpr char kPictureFormats[] =
    "|位图文件 (*.bmp;*.dib)|*.bmp; *.dib|GIF文件 (*.gif)|*.gif|JPEG文件 (*.jpg;*.jpe;*.jpeg)|*.jpg; *.jpe; "
    "*.jpeg|PCX文件 (*.pcx)|*.pcx|PNG文件 (*.png)|*.png|TGA文件 (*.tga)|*.tga|TIFF文件 (*.tif;*.tiff)|*.tif; "
    "*.tiff|All Files (*.*)|*.*||";
constexpr char kPointsFilter[] = "点阵图形文件 (*.pts)|*.pts||";

// The first entry offers every picture the reader takes: the usual kinds
// and whatever else the installed decoder reads.
std::string PictureFilter() {
  std::vector<std::string> suffixes = {"bmp", "dib", "gif", "jpg", "jpe", "jpeg", "pcx", "png", "tga", "tif", "tiff"};
  for (std::string& suffix : platform::PictureFileSuffixes()) {
    if (std::find(suffixes.begin(), suffixes.end(), suffix) == suffixes.end()) suffixes.push_back(std::move(suffix));
  }
  std::string filter = "Bmp file|";
  for (std::size_t i = 0; i < suffixes.size(); ++i) filter += (i == 0 ? "*." : "; *.") + suffixes[i];
  return filter + kPictureFormats;
}

// A reader's room: the counted values and 100 spare, flags one per point.
struct ReaderBuffers {
  explicit ReaderBuffers(int count)
      : room(count + 100), values(static_cast<std::size_t>(room)), flags(static_cast<std::size_t>(room / 2 + 1)) {}
  int room;
  std::vector<double> values;
  std::vector<std::uint8_t> flags;
};

// Room for the counted values, or none when the count is beyond what a
// drawing may hold: the limit of the plot list. A circle takes a few bytes of
// a file and makes hundreds of points, so a file far below a megabyte could
// otherwise name gigabytes of drawing (its values, its points and its copy).
// The readers' counting passes stop soon after this limit.
static_assert(kDxfMaxValues == kPltMaxValues);
std::unique_ptr<ReaderBuffers> MakeBuffers(int count) {
  if (count < 0 || count > kPltMaxValues) return nullptr;
  try {
    return std::make_unique<ReaderBuffers>(count);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// "Left out of the drawing: 2 SPLINE (fit points only), 1 HATCH".
std::string LeftOutMessage(const std::vector<DxfLeftOut>& kinds) {
  std::string text = "Left out of the drawing: ";
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(kinds[i].count) + " " + kinds[i].what;
  }
  return text;
}

bool CanOpen(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

// Every plot file that yields no drawing is reported: one the reader could
// not open as such, any other (too short, no points, no end) as no plot of
// the kinds read here.
void ReportUnreadPlt(int status) { platform::MessageBox(status == kPltStatusNoFile ? kOpenError : kPltMessage); }

std::unique_ptr<CObjElement> MakeElement(std::string name, int type, CObjBase* object, int size) {
  auto element = std::make_unique<CObjElement>(CObjCreateRecord{std::move(name), type, object, size, {}});
  element->RefreshTypeObject();
  element->UpdateBoundRect();
  return element;
}

}  // namespace

void CVendrikViewModel::RegisterImportCommands() {
  AddCommand(ID_IMPORT_FILE, [this] { OnImportFile(); }, {}, [this] { return m_toolCode == kImportToolCode; });
  AddCommand(ID_IMPORT_MODULES, [this] { OnImportModules(); });
  AddCommand(ID_IMPORT_POINTS_IMAGE, [this] { OnImportPointsImage(); });
}

void CVendrikViewModel::OnImportFile() {
  EndPendingConstruction();
  ClearSelection();
  m_pPropView->SelectListIndex(0);
  if (m_pTarget != nullptr) {
    m_pTarget->PostMessage(WM_IMPORT_FILE, 0, 0);
  } else {
    OnImportFileMessage();
  }
}

bool CVendrikViewModel::OnImportFileMessage() {
  platform::FileDialogRequest request;
  request.save = false;
  request.defaultExt = "dxf";
  request.filter = kDrawingFilter;
  request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;
  // The Import button shows pressed while the dialog is open.
  m_toolCode = kImportToolCode;
  const std::optional<std::string> path = platform::AskFile(request);
  m_toolCode = 0;
  if (!path) return false;
  const std::string ext = LowerExtension(*path);
  if (ext == "dxf") return ImportDxfDrawing(*path);
  if (ext == "plt") return ImportPltDrawing(*path);
  return false;
}

void CVendrikViewModel::AddCentredDrawing(std::unique_ptr<CObjElement> element) {
  const CDoubleRect bounds = element->GetBoundRect();
  element->MoveBy(-bounds.CenterX(), -bounds.CenterY());
  AddElement(std::move(element), 1);
}

bool CVendrikViewModel::ImportPltDrawing(std::string path) {
  using Reader = int (*)(const std::string&, double*, BYTE*, int*, int*, int*);
  const int dialect = DetectPltDialect(path);
  if (dialect == 0) {
    platform::MessageBox(CanOpen(path) ? kPltMessage : kOpenError);
    return false;
  }
  const Reader reader = dialect == 1 ? ImportPltDialect1 : dialect == 2 ? ImportPltDialect2 : ImportPltDialect3;
  int count = 0;
  int read = 0;
  int status = 0;
  if (reader(path, nullptr, nullptr, &count, &read, &status) != kPltResultNone || count < 2) {
    ReportUnreadPlt(status);
    return false;
  }
  const std::unique_ptr<ReaderBuffers> held = MakeBuffers(count);
  if (held == nullptr) {
    platform::MessageBox(kPltMessage);
    return false;
  }
  ReaderBuffers& buffers = *held;
  int room = buffers.room;
  const int result = reader(path, buffers.values.data(), buffers.flags.data(), &room, &read, &status);
  const bool shortRead = read < count;
  if (shortRead) {
    platform::MessageBox(kPltMessage);
    count = read;
  }
  if (result != kPltResultFilled || status != kPltStatusEnd) {
    if (!shortRead || status == kPltStatusNoFile) ReportUnreadPlt(status);
    return false;
  }
  // The first two dialects end on a point that is no part of the drawing.
  int points = count / 2;
  if (dialect != 3) --points;
  if (points < 1) {
    if (!shortRead) ReportUnreadPlt(status);
    return false;
  }
  CPointList list;
  for (int i = 0; i < points; ++i) {
    list.Add(CDoublePoint(buffers.values[2 * i], buffers.values[2 * i + 1],
                          static_cast<std::uint8_t>(buffers.flags[i] & kPltPenDown)));
  }
  PushHistory();
  auto* poly = new CObjPolyLine(list, 0, 1);
  AddCentredDrawing(MakeElement(DefaultName(OBJ_HPGL), OBJ_HPGL, poly, static_cast<int>(sizeof(CObjPolyLine))));
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
  return true;
}

bool CVendrikViewModel::ImportDxfDrawing(std::string path) {
  int count = 0;
  int read = 0;
  int status = 0;
  DxfImportReport report;
  const int first = ImportDxfFile(path, nullptr, nullptr, &count, &read, &status, g_installDir, &report);
  // Texts whose fonts are missing, and entities the reader cannot draw, are
  // left out of the drawing: said once per import.
  if (!report.missingFonts.empty()) platform::MessageBox(MissingFontMessage(report.missingFonts, g_installDir));
  if (!report.leftOut.empty()) platform::MessageBox(LeftOutMessage(report.leftOut));
  if (status == kDxfStatusNoFile) {
    platform::MessageBox(kOpenError);
    return false;
  }
  if (first != kDxfResultNone || count < 2) {
    platform::MessageBox(kNotIdentified);
    return false;
  }
  const std::unique_ptr<ReaderBuffers> held = MakeBuffers(count);
  if (held == nullptr) {
    platform::MessageBox(kNotIdentified);
    return false;
  }
  ReaderBuffers& buffers = *held;
  int room = buffers.room;
  const int result =
      ImportDxfFile(path, buffers.values.data(), buffers.flags.data(), &room, &read, &status, g_installDir);
  if (read < count) {
    platform::MessageBox(kDxfNotSimple);
    count = read;
  }
  if (result != kDxfResultFilled || status != kDxfStatusRead) {
    platform::MessageBox(status == kDxfStatusNoFile ? kOpenError : kPltMessage);
    return false;
  }
  CPointList strokes;
  CPointList dots;
  for (int i = 0; i < count / 2; ++i) {
    const std::uint8_t flag = buffers.flags[i];
    const double x = buffers.values[2 * i];
    const double y = buffers.values[2 * i + 1];
    if (flag == kDxfDot) {
      dots.Add(CDoublePoint(x, y, 0));
    } else {
      strokes.Add(CDoublePoint(x, y, static_cast<std::uint8_t>(flag & kDxfPenDown)));
    }
  }
  if (strokes.GetSize() == 0 && dots.GetSize() == 0) return false;
  PushHistory();
  if (strokes.GetSize() > 0) {
    auto* poly = new CObjPolyLine(strokes, 0, 1);
    AddCentredDrawing(MakeElement(DefaultName(OBJ_DXF), OBJ_DXF, poly, static_cast<int>(sizeof(CObjPolyLine))));
  }
  if (dots.GetSize() > 0) {
    CDoublePoint start = dots[0];
    SortPointsNearestFirst(start, dots);
    auto* collection = new CObjDotCollect(dots);
    collection->RebuildFill();
    AddCentredDrawing(
        MakeElement(DefaultName(OBJ_DOTIMAGE), OBJ_DOTIMAGE, collection, static_cast<int>(sizeof(CObjDotCollect))));
  }
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
  return true;
}

void CVendrikViewModel::OnImportModules() {
  platform::FileDialogRequest request;
  request.save = false;
  request.defaultExt = "*.bmp";
  request.filter = PictureFilter();
  request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;
  if (const std::optional<std::string> path = platform::AskFile(request)) ImportPicture(*path);
}

bool CVendrikViewModel::ImportPicture(const std::string& path) {
  auto image = std::make_unique<CObjImage>(path);
  if (!image->IsLoaded()) {
    // A file this build cannot decode (a format without a decoder here) is
    // not taken silently for a missing one.
    std::error_code error;
    if (std::filesystem::file_size(path, error) > 0 && !error) platform::MessageBox(kPictureNotRead);
    return false;
  }
  PushHistory();
  const CDoubleRect bounds = image->GetBoundRect();
  auto element = std::make_unique<CObjElement>(
      CObjCreateRecord{DefaultName(OBJ_PICTURE), OBJ_PICTURE, image.release(), static_cast<int>(sizeof(CObjImage)), bounds});
  element->UpdateBoundRect();
  AddElement(std::move(element), 1);
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
  return true;
}

void CVendrikViewModel::OnImportPointsImage() {
  platform::FileDialogRequest request;
  request.save = false;
  request.defaultExt = "*.pts";
  request.filter = kPointsFilter;
  request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;
  if (const std::optional<std::string> path = platform::AskFile(request)) ImportPointsImage(*path);
}

bool CVendrikViewModel::ImportPointsImage(const std::string& path) {
  if (!CanOpen(path)) return false;
  CPointList dots;
  // The header's count is trusted only as far as the file really holds records.
  if (!ReadPointsImage(path, dots)) {
    platform::MessageBox(kNotIdentified);
    return false;
  }
  ClearSelection();
  PushHistory();
  auto* collection = new CObjDotCollect(dots);
  collection->RebuildFill();
  // The dots keep their stored places.
  AddElement(
      MakeElement(DefaultName(OBJ_DOTIMAGE), OBJ_DOTIMAGE, collection, static_cast<int>(sizeof(CObjDotCollect))), 1);
  SetLayoutModified();
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  return true;
}
