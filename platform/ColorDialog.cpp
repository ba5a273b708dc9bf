#include "platform/ColorDialog.h"

#include <utility>

#include "platform/ReplaceableInstance.h"

namespace platform {

std::optional<COLORREF> ScriptedColorDialog::Ask(const ColorDialogRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(request);
  if (answers_.empty()) return std::nullopt;
  std::optional<COLORREF> answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedColorDialog::QueueColor(COLORREF colour) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.emplace_back(colour);
}

void ScriptedColorDialog::QueueCancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.emplace_back(std::nullopt);
}

std::vector<ColorDialogRequest> ScriptedColorDialog::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

namespace {

ReplaceableInstance<ColorDialog> g_dialog;

}  // namespace

ColorDialog& CurrentColorDialog() {
  return g_dialog.Get([] { return std::make_shared<ScriptedColorDialog>(); });
}

void SetColorDialog(std::shared_ptr<ColorDialog> dialog) { g_dialog.Set(std::move(dialog)); }

}  // namespace platform
