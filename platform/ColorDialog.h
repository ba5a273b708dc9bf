#pragma once
// The colour chooser. The GUI shows it; tests script the chosen colours and
// record what was asked.
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

struct ColorDialogRequest {
  COLORREF initial = 0;
  bool fullOpen = false;  // open with the custom colour part shown
};

class ColorDialog {
 public:
  virtual ~ColorDialog() = default;
  // The chosen colour; nothing when the user cancels.
  virtual std::optional<COLORREF> Ask(const ColorDialogRequest& request) = 0;
};

// Answers from a script, in order; an empty script (or a queued cancel)
// cancels. Records every request.
class ScriptedColorDialog : public ColorDialog {
 public:
  std::optional<COLORREF> Ask(const ColorDialogRequest& request) override;
  void QueueColor(COLORREF colour);
  void QueueCancel();
  std::vector<ColorDialogRequest> Requests() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::optional<COLORREF>> answers_;
  std::vector<ColorDialogRequest> requests_;
};

// The process-wide chooser; a ScriptedColorDialog that cancels until the GUI
// installs its own.
ColorDialog& CurrentColorDialog();
void SetColorDialog(std::shared_ptr<ColorDialog> dialog);

}  // namespace platform
