#pragma once
// The view model with a pane double that names objects ("<type>-<n>") and
// records the list's calls, dialogs that answer from set values, and the
// scripted message boxes and file dialogs.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/views/model/ViewDialogHost.h"
#include "document/geometry/CPointList.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"
#include "tests/app/views/ViewModelFixture.h"

class NamingPaneCalls : public NullProperityViewCalls {
 public:
  int AddObject(CObjElement* object, int) override {
    added.push_back(object);
    return 0;
  }
  void RemoveObject(CObjElement* object) override { removed.push_back(object); }
  void MakeDefaultName(int type, std::string& name) override {
    name = "type" + std::to_string(type) + "-" + std::to_string(++counts[type]);
  }
  void ShowSelection(const std::vector<CObjElement*>& objects) override { listSelection = objects; }

  std::vector<CObjElement*> added;
  std::vector<CObjElement*> removed;
  std::vector<CObjElement*> listSelection;
  std::map<int, int> counts;
};

class AnsweringDialogs : public IViewDialogs {
 public:
  bool AskRotateAngle(float& degrees) override {
    degrees = rotate;
    return ok;
  }
  bool AskMatrixCopy(MatrixCopyValues& values) override {
    values = matrix;
    return ok;
  }
  bool AskOffset(float& x, float& y) override {
    x = offsetX;
    y = offsetY;
    return ok;
  }
  bool AskSizeAndPosition(SizePositionTexts& texts) override {
    shownSize = texts;
    if (!sizeTexts.width.empty()) texts.width = sizeTexts.width;
    if (!sizeTexts.height.empty()) texts.height = sizeTexts.height;
    if (!sizeTexts.left.empty()) texts.left = sizeTexts.left;
    if (!sizeTexts.top.empty()) texts.top = sizeTexts.top;
    return ok;
  }
  bool AskFillFile(float& angle, float& distance) override {
    angle = fillAngle;
    distance = fillDistance;
    return ok;
  }
  bool AskMarkOrder(std::vector<CObjElement*>& order) override {
    if (reorder) reorder(order);
    return ok;
  }
  bool AskReferenceArc(ReferenceArcValues& values) override {
    shownArc = values;
    return ok;
  }
  bool AskPltLibrary(CPointList& points) override {
    points.Copy(libraryDrawing);
    return ok;
  }

  bool ok = true;
  float rotate = 0;
  MatrixCopyValues matrix;
  float offsetX = 0;
  float offsetY = 0;
  SizePositionTexts sizeTexts;
  SizePositionTexts shownSize;
  float fillAngle = 0;
  float fillDistance = 0.1f;
  std::function<void(std::vector<CObjElement*>&)> reorder;
  ReferenceArcValues shownArc;
  CPointList libraryDrawing;
};

class ViewCommandsTest : public ViewModelTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  void Select(const std::vector<CObjElement*>& elements) { model_->SelectElements(elements); }
  CObjElement* Line(CDoublePoint a, CDoublePoint b, const std::string& name);
  int Count() const { return document_.Objects().GetSize(); }
  CObjElement* At(int i) const { return document_.Objects().GetAt(i); }
  std::vector<std::string> Messages() const { return prompt_->Texts(); }

  NamingPaneCalls pane_;
  AnsweringDialogs dialogs_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::shared_ptr<platform::ScriptedFileDialog> files_;
};

constexpr double kTol = 1e-6;
