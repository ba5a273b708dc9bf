#include "platform/FileDialog.h"

#include <utility>

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

std::mutex g_dialogMutex;
std::shared_ptr<FileDialog> g_dialog;
// Replaced dialogs stay alive: a caller may still hold the reference it got.
std::vector<std::shared_ptr<FileDialog>> g_retiredDialogs;

}  // namespace

FileDialog& CurrentFileDialog() {
  std::lock_guard<std::mutex> lock(g_dialogMutex);
  if (!g_dialog) g_dialog = std::make_shared<ScriptedFileDialog>();
  return *g_dialog;
}

void SetFileDialog(std::shared_ptr<FileDialog> dialog) {
  std::lock_guard<std::mutex> lock(g_dialogMutex);
  if (g_dialog) g_retiredDialogs.push_back(std::move(g_dialog));
  g_dialog = std::move(dialog);
}

}  // namespace platform
