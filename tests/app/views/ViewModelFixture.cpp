#include "tests/app/views/ViewModelFixture.h"

#include <filesystem>

#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "platform/InstallDir.h"
#include "values/ShellValues.h"

void ViewModelTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = platform::DefaultDataFolder() + "/" + info->test_suite_name() + "." + info->name();
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  settings_ = platform::MakeMemorySettingsStore();
  settings_->CreateKey(platform::kRegistryKey);
  platform::SetSettingsStore(settings_);

  savedSet_ = g_machineSet;
  savedPxX_ = g_pxPerMmX;
  savedPxY_ = g_pxPerMmY;
  savedFolder_ = g_installDir;
  savedSoftType_ = g_softType.load();
  g_machineSet = DefaultMachineSetRecord();
  g_machineSet.rangeX = 100;
  g_machineSet.rangeY = 80;
  g_machineSet.optionByte = 0;
  g_machineSet.originCorner = 0;
  g_pxPerMmX = 4;
  g_pxPerMmY = 4;
  g_installDir = folder_;
  g_softType = SOFT_TYPE_USB;
  g_distanceVer = 10;
  g_distanceHor = 10;
  model_ = MakeModel();
}

void ViewModelTest::TearDown() {
  model_.reset();
  g_machineSet = savedSet_;
  g_pxPerMmX = savedPxX_;
  g_pxPerMmY = savedPxY_;
  g_installDir = savedFolder_;
  g_softType = savedSoftType_;
  g_distanceVer = 1;
  g_distanceHor = 1;
}

std::unique_ptr<CVendrikViewModel> ViewModelTest::MakeModel() {
  auto model = std::make_unique<CVendrikViewModel>();
  g_distanceVer = 10;  // whatever the registry held
  g_distanceHor = 10;
  model->SetWindow(&window_);
  model->SetDocument(&document_);
  return model;
}

CObjElement* ViewModelTest::AddLine(CDoublePoint a, CDoublePoint b, int color, int layer) {
  auto element = std::make_unique<CObjElement>(
      CObjCreateRecord{"line", OBJ_LINE, new CObjLine(a, b), static_cast<int>(sizeof(CObjLine)), {}});
  element->color = color;
  element->layer = layer;
  element->RefreshTypeObject();
  element->UpdateBoundRect();
  CObjElement* raw = element.get();
  document_.Objects().Add(std::move(element));
  return raw;
}
