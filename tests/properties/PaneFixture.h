#pragma once
// The property view's object half on a host window, reporting to a recording
// layout view, with a small layout: element 0 and a few objects.
#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "document/objects/CObjElement.h"
#include "platform/ColorDialog.h"
#include "platform/Prompt.h"
#include "platform_qt/QtMessageTarget.h"
#include "properties/framework/PropChange.h"
#include "properties/link/CProperityView.h"

class CPropertyPage;
class CObjectListBox;
class CObjProperitySheet;
class QLineEdit;

// What the layout view received: message, wParam, and the record's control
// id, value and object when a record came with it.
struct Received {
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool hasRecord = false;
  int id = 0;
  PropValue value;
  CObjElement* object = nullptr;
};

class RecordingLayoutView : public platform::MessageTarget {
 public:
  bool Post(platform::Message message) override;
  std::vector<Received> received;
  // The records of change messages only.
  std::vector<Received> Changes() const;
};

// Processes posted events until the queue is quiet.
void Pump();

class PaneTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<CObjElement> MakeElement(int type, const std::string& name);
  CObjElement* Add(int type, const std::string& name);
  CObjectListBox& List() const;
  CObjProperitySheet& Sheet() const;
  // The tab captions in order.
  std::vector<std::string> Tabs() const;
  // Brings the page to the front and returns it.
  CPropertyPage* Open(const char* caption);
  // A control of the page in front (pages share control ids), else of the pane.
  template <class T>
  T* Control(const char* name) const {
    if (QWidget* page = ActivePageWidget())
      if (T* found = page->findChild<T*>(name)) return found;
    return host_->findChild<T*>(name);
  }
  QWidget* ActivePageWidget() const;
  // Types into an edit (replacing its text) and presses Enter.
  void TypeAndEnter(QLineEdit* edit, const QString& text);
  void TypeAndLeave(QLineEdit* edit, const QString& text);

  RecordingLayoutView layout_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::shared_ptr<platform::ScriptedColorDialog> colours_;
  std::vector<std::unique_ptr<CObjElement>> elements_;
  CObjElement* workArea_ = nullptr;
  std::unique_ptr<platform_qt::QtMessageTarget> self_;
  std::unique_ptr<CProperityView> view_;
  std::unique_ptr<QWidget> host_;
};
