#pragma once
// The layout view's calls on the property pane, forwarded to the pane's
// property view (nothing happens while the pane has none).
#include "app/views/CProperityPane.h"
#include "app/views/model/CProperityViewCalls.h"
#include "properties/link/CProperityView.h"
#include "properties/list/CObjectListBox.h"

class PaneProperityViewCalls : public CProperityViewCalls {
 public:
  explicit PaneProperityViewCalls(CProperityPane* pane) : pane_(pane) {}

  int AddObject(CObjElement* object, int notify) override { return View() ? View()->AddObject(object, notify) : 0; }
  void SelectListIndex(int index) override {
    if (View()) View()->SelectListIndex(index);
  }
  void ShowObject(CObjElement* object) override {
    if (View()) View()->ShowObject(object);
  }
  void SetObjectName(const std::string& name) override {
    if (View()) View()->SetObjectName(name);
  }
  bool HitTest(const CDoublePoint& point, CObjElement*& object, int& index) override {
    if (View()) return View()->HitTest(point, object, index);
    object = nullptr;
    index = 0;
    return false;
  }
  void SelectObject(CObjElement* object, int index) override {
    if (View()) View()->SelectObject(object, index);
  }
  void RefreshSheet(CObjElement* object, int selectionCount) override {
    if (View()) View()->RefreshSheet(object, selectionCount);
  }
  void ReloadPages(CObjElement* object) override {
    if (View()) View()->ReloadPages(object);
  }
  void FillObjectList(const CObjPtrArray& objects) override {
    if (View()) View()->FillObjectList(objects);
  }
  void RemoveObject(CObjElement* object) override {
    if (View()) View()->RemoveObject(object);
  }
  void RemoveObjects(const std::vector<CObjElement*>& objects) override {
    if (View()) View()->RemoveObjects(objects);
  }
  void MakeDefaultName(int type, std::string& name) override {
    if (View() && View()->GetObjectList()) View()->GetObjectList()->MakeDefaultName(type, name);
  }
  void ShowSelection(const std::vector<CObjElement*>& objects) override {
    if (View()) View()->ShowSelection(objects);
  }
  void ListObject(CObjElement* object) override {
    if (View()) View()->ListObject(object);
  }
  std::vector<CObjElement*> SelectedListObjects() override;
  void RefreshObject(CObjElement* object) override {
    if (View() && View()->GetObjectList()) View()->GetObjectList()->RefreshObject(object);
  }

 private:
  CProperityView* View() const { return pane_ != nullptr ? pane_->View() : nullptr; }

  CProperityPane* pane_;
};
