#include "platform/Prompt.h"

#include "platform/ReplaceableInstance.h"

namespace platform {
namespace {

// The fallback made to fit the box: OK/Cancel boxes have no Yes or No.
int FitAnswer(int answer, UINT type) {
  const UINT buttons = type & 0x0F;
  if (buttons == MB_OK) return IDOK;
  if (buttons == MB_OKCANCEL) {
    if (answer == IDYES) return IDOK;
    if (answer == IDNO) return IDCANCEL;
  }
  if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) {
    if (answer == IDOK) return IDYES;
    if (answer == IDCANCEL && buttons == MB_YESNO) return IDNO;
  }
  return answer;
}

ReplaceableInstance<Prompt> g_prompt;

}  // namespace

int ScriptedPrompt::Ask(const PromptRequest& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
  if (!answers_.empty()) {
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return FitAnswer(fallback_, request.type);
}

void ScriptedPrompt::QueueAnswer(int answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void ScriptedPrompt::SetFallbackAnswer(int answer) {
  std::lock_guard lock(mutex_);
  fallback_ = answer;
}

std::vector<PromptRequest> ScriptedPrompt::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> ScriptedPrompt::Texts() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> texts;
  texts.reserve(requests_.size());
  for (const auto& r : requests_) texts.push_back(r.text);
  return texts;
}

void ScriptedPrompt::Clear() {
  std::lock_guard lock(mutex_);
  requests_.clear();
  answers_.clear();
}

Prompt& CurrentPrompt() {
  return g_prompt.Get([] { return std::make_shared<ScriptedPrompt>(); });
}

void SetPrompt(std::shared_ptr<Prompt> prompt) {
  g_prompt.Set(std::move(prompt));
}

int MessageBox(const std::string& text, const std::string& caption, UINT type) {
  return CurrentPrompt().Ask(PromptRequest{text, caption, type});
}

}  // namespace platform
