#include "platform/FileDialog.h"

#include <utility>

#include "platform/FileDialogFolders.h"
#include "platform/ReplaceableInstance.h"

namespace platform {

std::optional<std::string> ScriptedFileDialog::Ask(const FileDialogRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(request);
  if (answers_.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

void ScriptedFileDialog::QueuePath(std::string path) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.emplace_back(std::move(path));
}

void ScriptedFileDialog::QueueCancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.emplace_back(std::nullopt);
}

std::vector<FileDialogRequest> ScriptedFileDialog::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

namespace {

ReplaceableInstance<FileDialog> g_dialog;

}  // namespace

FileDialog& CurrentFileDialog() {
  return g_dialog.Get([] { return std::make_shared<ScriptedFileDialog>(); });
}

void SetFileDialog(std::shared_ptr<FileDialog> dialog) {
  g_dialog.Set(std::move(dialog));
}

std::optional<std::string> AskFile(FileDialogRequest request) {
  request.folder = FileDialogFolder(request.defaultExt);
  std::optional<std::string> chosen = CurrentFileDialog().Ask(request);
  if (chosen) RememberFileDialogFolder(request.defaultExt, *chosen);
  return chosen;
}

}  // namespace platform
