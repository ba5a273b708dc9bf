#pragma once
// Message boxes. The GUI shows them (marshalled to the UI thread from any
// thread); tests script the answers and record the exact texts.
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

struct PromptRequest {
  std::string text;     // UTF-8, byte for byte as the system words it
  std::string caption;  // UTF-8
  UINT type = MB_OK;
};

class Prompt {
 public:
  virtual ~Prompt() = default;
  // Returns IDOK, IDCANCEL, IDYES or IDNO. May be called from any thread.
  virtual int Ask(const PromptRequest& request) = 0;
};

// Answers from a script, in order; when the script is empty, the default
// answer (IDOK for MB_OK boxes, else the configured fallback). Records every
// request.
class ScriptedPrompt : public Prompt {
 public:
  int Ask(const PromptRequest& request) override;
  void QueueAnswer(int answer);
  void SetFallbackAnswer(int answer);
  std::vector<PromptRequest> Requests() const;
  std::vector<std::string> Texts() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::deque<int> answers_;
  int fallback_ = IDNO;
  std::vector<PromptRequest> requests_;
};

// The process-wide prompt; a ScriptedPrompt that answers the fallback until
// the GUI installs its own.
Prompt& CurrentPrompt();
void SetPrompt(std::shared_ptr<Prompt> prompt);

// The system's message box call.
int MessageBox(const std::string& text, const std::string& caption = "Vendrik", UINT type = MB_OK);

}  // namespace platform
