#include "tests/app/views/ViewCommandsFixture.h"

#include "document/objects/CObjArc.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"

void ViewCommandsTest::SetUp() {
  ViewModelTest::SetUp();
  // The program registers these classes at start-up.
  RegisterObjTypeOps(ObjClassId::DotCollect, &DotCollectTypeOps());
  RegisterObjTypeOps(ObjClassId::Arc, &ArcTypeOps());
  RegisterObjTypeOps(ObjClassId::Image, &ImageTypeOps());
  prompt_ = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt_);
  files_ = std::make_shared<platform::ScriptedFileDialog>();
  platform::SetFileDialog(files_);
  model_->SetPropertyView(&pane_);
  model_->SetDialogs(&dialogs_);
  model_->EnsureParameterRecord();
}

void ViewCommandsTest::TearDown() {
  model_->SetPropertyView(nullptr);
  ViewModelTest::TearDown();
  platform::SetPrompt(nullptr);
  platform::SetFileDialog(nullptr);
}

CObjElement* ViewCommandsTest::Line(CDoublePoint a, CDoublePoint b, const std::string& name) {
  CObjElement* line = AddLine(a, b, 0);
  line->name = name;
  return line;
}
