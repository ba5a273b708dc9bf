#pragma once
// Message boxes over QMessageBox. Asked from another thread, the question is
// carried to the UI thread and the asking thread blocks until it is answered,
// so the UI thread must not be blocked waiting on the asker without pumping.
#include <QPointer>
#include <QWidget>

#include "platform/Prompt.h"

class QMessageBox;

namespace platform_qt {

class QtPrompt : public platform::Prompt {
 public:
  explicit QtPrompt(QWidget* parent = nullptr);
  int Ask(const platform::PromptRequest& request) override;

  // The answer given when no box can be shown (no application, closing down).
  static int UnansweredResult(UINT type);

 private:
  // Static: a queued question may outlive the prompt object that asked it.
  static int AskOnUiThread(QWidget* parent, const platform::PromptRequest& request);
  QPointer<QWidget> parent_;
};

// Fills a message box from a request: caption, text, buttons and icon by the
// MB_ flags. Exposed for the GUI's own boxes and for tests.
void ConfigureMessageBox(QMessageBox& box, const platform::PromptRequest& request);
// The MB_ answer for the button the box returned.
int AnswerFromButton(int standardButton, UINT type);

}  // namespace platform_qt
