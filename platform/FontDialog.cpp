#include "platform/FontDialog.h"

#include <utility>

#include "platform/ReplaceableInstance.h"

namespace platform {

std::optional<FontChoice> ScriptedFontDialog::Ask(const FontChoice& initial) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(initial);
  if (answers_.empty()) return std::nullopt;
  std::optional<FontChoice> answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedFontDialog::QueueFont(FontChoice font) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.emplace_back(std::move(font));
}

void ScriptedFontDialog::QueueCancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.emplace_back(std::nullopt);
}

std::vector<FontChoice> ScriptedFontDialog::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

namespace {

ReplaceableInstance<FontDialog> g_dialog;

}  // namespace

FontDialog& CurrentFontDialog() {
  return g_dialog.Get([] { return std::make_shared<ScriptedFontDialog>(); });
}

void SetFontDialog(std::shared_ptr<FontDialog> dialog) { g_dialog.Set(std::move(dialog)); }

}  // namespace platform
