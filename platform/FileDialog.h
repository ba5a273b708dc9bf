#pragma once
// Open and save file dialogs. The GUI shows them; tests script the chosen
// paths and record what was asked. Commands ask through AskFile, which opens
// the dialog in the folder last used for that kind of file.
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

constexpr UINT OFN_OVERWRITEPROMPT = 0x00000002;
constexpr UINT OFN_HIDEREADONLY = 0x00000004;

struct FileDialogRequest {
  bool save = true;        // save dialog; false: open dialog
  std::string defaultExt;  // as the caller words it, e.g. "*.mrk"
  std::string fileName;    // initial file name (may be a full path)
  std::string filter;      // UTF-8, "label|pattern|...||"
  std::string folder;      // the folder it opens in; empty: the platform's choice
  UINT flags = 0;          // OFN_* flags
};

class FileDialog {
 public:
  virtual ~FileDialog() = default;
  // The chosen full path; nothing when the user cancels.
  virtual std::optional<std::string> Ask(const FileDialogRequest& request) = 0;
};

// Answers from a script, in order; an empty script (or a queued cancel)
// cancels. Records every request.
class ScriptedFileDialog : public FileDialog {
 public:
  std::optional<std::string> Ask(const FileDialogRequest& request) override;
  void QueuePath(std::string path);
  void QueueCancel();
  std::vector<FileDialogRequest> Requests() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::optional<std::string>> answers_;
  std::vector<FileDialogRequest> requests_;
};

// The process-wide dialog; a ScriptedFileDialog that cancels until the GUI
// installs its own.
FileDialog& CurrentFileDialog();
void SetFileDialog(std::shared_ptr<FileDialog> dialog);

// Asks the process-wide dialog, opened in the folder of its kind of file
// (FileDialogFolders.h); the chosen file's folder becomes that folder.
std::optional<std::string> AskFile(FileDialogRequest request);

}  // namespace platform
