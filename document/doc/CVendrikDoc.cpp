#include "document/doc/CVendrikDoc.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>

#include "values/ShellMessages.h"
#include "document/doc/PointsImage.h"
#include "document/geometry/CPointList.h"
#include "document/mrk/MrkFile.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"

namespace {

constexpr UINT kSaveDialogFlags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;

// Paths of 4 characters or fewer count as "no name yet".
bool IsNamed(const std::string& path) { return path.size() > 4; }

bool EndsWithMrk(const std::string& path) {
  static constexpr char kExt[] = ".mrk";
  if (path.size() < 4) return false;
  return std::equal(path.end() - 4, path.end(), kExt, [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

std::optional<std::string> AskSavePath(const char* defaultExt, const std::string& fileName, const char* filter) {
  platform::FileDialogRequest request;
  request.save = true;
  request.defaultExt = defaultExt;
  request.fileName = fileName;
  request.filter = filter;
  request.flags = kSaveDialogFlags;
  return platform::AskFile(request);
}

}  // namespace

void CVendrikDoc::AddView(platform::MessageTarget* view, bool isLayoutView) {
  if (view != nullptr) views_.push_back(View{view, isLayoutView});
}

void CVendrikDoc::RemoveView(platform::MessageTarget* view) {
  views_.erase(std::remove_if(views_.begin(), views_.end(), [view](const View& v) { return v.target == view; }),
               views_.end());
}

void CVendrikDoc::Serialize(bool loading, const std::string& filePath) {
  if (!loading || filePath.empty()) return;
  loadPath_ = filePath;
  const auto layout = std::find_if(views_.begin(), views_.end(), [](const View& v) { return v.isLayoutView; });
  if (layout == views_.end()) return;
  layout->target->PostMessage(WM_LOAD_MRK_FILE, 0, 0, std::make_shared<std::string>(loadPath_));
}

bool CVendrikDoc::OnSaveDocument(const std::string& path) {
  // Linux paths are case-sensitive: the path is kept as given.
  path_ = EndsWithMrk(path) ? path : path + ".mrk";
  OnFileSave();
  return saveCompleted_ == 1 && lastSaveStored_;
}

void CVendrikDoc::OnFileSave() {
  saveCompleted_ = 0;
  lastSaveStored_ = false;
  if (!IsNamed(path_)) {
    std::optional<std::string> chosen = AskSavePath("*.mrk", path_, kMrkFilter);
    if (!chosen) return;
    path_ = *chosen;
  }
  WriteToPath();
  saveCompleted_ = 1;
}

void CVendrikDoc::OnFileSaveAs() {
  std::optional<std::string> chosen = AskSavePath("*.mrk", std::string(), kMrkFilter);
  if (!chosen) return;
  path_ = *chosen;
  WriteToPath();
}

bool CVendrikDoc::WriteToPath() {
  lastSaveStored_ = WriteMrkFile(path_, objects_) == 1;
  if (lastSaveStored_) {
    SetSavedState(0);
    title_ = path_;
    if (savedListener_) savedListener_(path_);
  } else {
    platform::MessageBox(kSaveErrorText, "Vendrik", MB_OK | MB_ICONERROR);
  }
  return lastSaveStored_;
}

bool CVendrikDoc::OnExportPointsImage() {
  std::optional<std::string> chosen = AskSavePath("*.pts", std::string(), kPtsFilter);
  if (!chosen) return false;
  CPointList dots;
  for (int i = 1; i < objects_.GetSize(); ++i) {
    if (const CObjElement* element = objects_[i]) element->CollectDots(dots);
  }
  if (dots.GetSize() == 0) return false;
  if (WritePointsImage(*chosen, dots)) return true;
  // The operator chose a file and must learn that it was not written.
  platform::MessageBox(kSaveErrorText, "Vendrik", MB_OK | MB_ICONERROR);
  return false;
}

int CVendrikDoc::SaveIfNamed(int onlyWhenNamed) {
  if (onlyWhenNamed != 0 && !IsNamed(path_)) return 0;
  OnFileSave();
  // A save that ended in a write error is not a save.
  return saveCompleted_ == 1 && lastSaveStored_ ? 1 : 0;
}

void CVendrikDoc::SetSavedState(int value) { savedState_ = value; }

void CVendrikDoc::DeleteAllObjects() {
  path_.clear();
  objects_.DeleteAll();
}

bool CVendrikDoc::HandlesCommand(UINT id) {
  return id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS || id == ID_EXPORT_POINTS_IMAGE;
}

bool CVendrikDoc::IsCommandEnabled(UINT id) const {
  switch (id) {
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_EXPORT_POINTS_IMAGE:
      return objects_.GetSize() >= 2;
    default:
      return false;
  }
}

bool CVendrikDoc::OnCommand(UINT id) {
  if (!IsCommandEnabled(id)) return false;
  switch (id) {
    case ID_FILE_SAVE:
      OnFileSave();
      break;
    case ID_FILE_SAVE_AS:
      OnFileSaveAs();
      break;
    case ID_EXPORT_POINTS_IMAGE:
      OnExportPointsImage();
      break;
    default:
      return false;
  }
  return true;
}
