#pragma once
// The font chooser over the system's fonts. The GUI shows it; tests script
// the chosen fonts and record what was asked.
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The part of a font description the chooser shows and changes.
struct FontChoice {
  std::string faceName;  // UTF-8
  int height = 0;        // character height in logical units, negative as Windows keeps it
  int weight = 400;
  bool italic = false;
  bool operator==(const FontChoice&) const = default;
};

class FontDialog {
 public:
  virtual ~FontDialog() = default;
  // The chosen font; nothing when the user cancels.
  virtual std::optional<FontChoice> Ask(const FontChoice& initial) = 0;
};

// Answers from a script, in order; an empty script (or a queued cancel)
// cancels. Records every request.
class ScriptedFontDialog : public FontDialog {
 public:
  std::optional<FontChoice> Ask(const FontChoice& initial) override;
  void QueueFont(FontChoice font);
  void QueueCancel();
  std::vector<FontChoice> Requests() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::optional<FontChoice>> answers_;
  std::vector<FontChoice> requests_;
};

// The process-wide chooser; a ScriptedFontDialog that cancels until the GUI
// installs its own.
FontDialog& CurrentFontDialog();
void SetFontDialog(std::shared_ptr<FontDialog> dialog);

}  // namespace platform
