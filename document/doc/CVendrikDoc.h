#pragma once
// The layout document: the owning element array (element 0 is the machine
// parameter record, drawing objects follow), the project path, saving to .mrk
// files and the .pts dot export. Opening is handed to the layout view, which
// reads the file into the array when it gets WM_LOAD_MRK_FILE.
#include <functional>
#include <string>
#include <vector>

#include "document/doc/CObjPtrArray.h"
#include "platform/Messages.h"
#include "platform/WinTypes.h"

// Texts of the document (dialog filters in UTF-8, shown at the GUI edge).
inline constexpr char kSaveErrorText[] = "Save file error,the file is forbid to write?";
inline constexpr char kMrkFilter[] = "标记项目文件 (*.mrk)|*.mrk||";
inline constexpr char kPtsFilter[] = "点阵图形文件 (*.pts)|*.pts||";

class CVendrikDoc {
 public:
  // Commands of the document.
  static constexpr UINT ID_FILE_SAVE = 57603;
  static constexpr UINT ID_FILE_SAVE_AS = 57604;
  static constexpr UINT ID_EXPORT_POINTS_IMAGE = 32743;

  CVendrikDoc() = default;
  CVendrikDoc(const CVendrikDoc&) = delete;
  CVendrikDoc& operator=(const CVendrikDoc&) = delete;
  ~CVendrikDoc() = default;  // the array deletes every element

  CObjPtrArray& Objects() { return objects_; }
  const CObjPtrArray& Objects() const { return objects_; }

  // Views of this document; the load request goes to the first layout view.
  // The targets must outlive their registration.
  void AddView(platform::MessageTarget* view, bool isLayoutView);
  void RemoveView(platform::MessageTarget* view);

  // The framework's loading hook: keeps the path and asks the layout view to
  // read it. The message carries its own copy of the path (payload, a
  // std::string), so the view never frees the document's string. Storing
  // does nothing: saves go through OnFileSave.
  void Serialize(bool loading, const std::string& filePath);

  // The framework's save hook: adds ".mrk" unless the path already ends in
  // it (in any case), takes the path and saves. True when the file was stored.
  bool OnSaveDocument(const std::string& path);
  void OnFileSave();
  void OnFileSaveAs();
  // True when a file was written; a file that cannot be written is reported
  // as a failed save is, a layout without dots writes nothing and says nothing.
  bool OnExportPointsImage();

  // Told the path of every file stored, whoever saved it (the marking
  // worker saves after each pass: the listener may be called on it).
  void SetSavedListener(std::function<void(const std::string& path)> listener) { savedListener_ = std::move(listener); }

  // With a nonzero argument an unnamed document is not saved (0). Otherwise
  // saves and returns 1 only when the file was really stored.
  int SaveIfNamed(int onlyWhenNamed);
  void SetSavedState(int value);
  // Empties the path (the load path stays) and deletes every element.
  void DeleteAllObjects();

  // Save, Save As and the export need at least one drawing object.
  bool IsCommandEnabled(UINT id) const;
  // Whether the command is one of the document's, enabled or not.
  static bool HandlesCommand(UINT id);
  // Runs a document command; false when the id is not one of them or it is disabled.
  bool OnCommand(UINT id);

  const std::string& GetPathName() const { return path_; }
  void SetFilePath(const std::string& path) { path_ = path; }
  const std::string& GetLoadPath() const { return loadPath_; }
  const std::string& GetTitle() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  int GetSaveCompleted() const { return saveCompleted_; }
  // The layout's one changed-state: nonzero once it changed since it was
  // opened, made new or saved. File New, Open and Exit ask to save by it.
  int GetSavedState() const { return savedState_; }
  bool IsModified() const { return savedState_ != 0; }

 private:
  struct View {
    platform::MessageTarget* target;
    bool isLayoutView;
  };

  // Writes the array to path_; reports a failure. True when stored.
  bool WriteToPath();

  CObjPtrArray objects_;
  std::string path_;
  std::string loadPath_;
  int saveCompleted_ = 0;
  int savedState_ = 0;
  bool lastSaveStored_ = false;
  std::string title_;
  std::vector<View> views_;
  std::function<void(const std::string&)> savedListener_;
};
