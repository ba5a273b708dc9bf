#pragma once
// The object's name (at most 32 bytes). Enter or leaving the field reports a
// changed name; the same text reports nothing.
#include <string>

#include "properties/framework/CPropertyPage.h"

class CNotifyEdit;

class CUpdateObjNamePage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 160;
  static constexpr int kPageCode = 49;
  static constexpr int kNameEdit = 1000;
  static constexpr int kMaxNameBytes = 32;

  CUpdateObjNamePage();
  void LoadFromObject(CObjElement& element) override;
  // Every id of this page stands for the name.
  PropValue ValueOf(int id) const override;
  // The name the layout view made unique, shown at once.
  void SetObjectName(const std::string& name);
  const std::string& GetName() const { return name_; }

 private:
  void OnEditKey();
  std::string name_;
  CNotifyEdit* edit_;
};
