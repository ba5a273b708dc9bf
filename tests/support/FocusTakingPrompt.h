#pragma once
// Message boxes as a window system shows them: each box is a real modal box
// that takes the focus from the field being edited, and is closed as soon as
// it shows. Records each text and what `behind` reports of the window behind
// the box meanwhile. Window systems differ in when the window behind gets the
// focus back: with `GiveBackTo` at once as the box closes, else later (the
// test activates it).
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Prompt.h"

class FocusTakingPrompt : public platform::Prompt {
 public:
  explicit FocusTakingPrompt(std::function<std::string()> behind = {}) : behind_(std::move(behind)) {}
  int Ask(const platform::PromptRequest& request) override {
    texts.push_back(request.text);
    QMessageBox box;
    box.setText(QString::fromStdString(request.text));
    QTimer::singleShot(0, &box, [this, &box] {
      QApplication::setActiveWindow(&box);
      if (behind_) seen.push_back(behind_());
      box.accept();
    });
    box.exec();
    if (giveBack_ != nullptr) QApplication::setActiveWindow(giveBack_);
    return IDOK;
  }
  void GiveBackTo(QWidget* window) { giveBack_ = window; }
  std::vector<std::string> texts;
  std::vector<std::string> seen;

 private:
  std::function<std::string()> behind_;
  QWidget* giveBack_ = nullptr;
};
