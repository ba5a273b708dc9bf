#pragma once
// The calls the layout view makes on the property pane beside it: the object
// list and the property sheet. The layout view sees the pane only through
// this, so its commands run headless; a program without a pane (or a test)
// gets the null calls, which do nothing.
#include <string>
#include <vector>

#include "document/geometry/CDoublePoint.h"

class CObjElement;
class CObjPtrArray;

class CProperityViewCalls {
 public:
  virtual ~CProperityViewCalls() = default;
  // Appends the object to the list, selects it and shows its pages; with
  // notify set the layout view hears of the selection. The post's result, or 0.
  virtual int AddObject(CObjElement* object, int notify) = 0;
  // Selects exactly that list index and shows its object.
  virtual void SelectListIndex(int index) = 0;
  virtual void ShowObject(CObjElement* object) = 0;
  virtual void SetObjectName(const std::string& name) = 0;
  // First object from list index 1 on, not a picture, whose bounds widened
  // by 2 contain the point; false with index = the item count when none.
  virtual bool HitTest(const CDoublePoint& point, CObjElement*& object, int& index) = 0;
  virtual void SelectObject(CObjElement* object, int index) = 0;
  virtual void RefreshSheet(CObjElement* object, int selectionCount) = 0;
  virtual void ReloadPages(CObjElement* object) = 0;
  virtual void FillObjectList(const CObjPtrArray& objects) = 0;
  virtual void RemoveObject(CObjElement* object) = 0;
  // RemoveObject for each of them; a list may take them out in one walk.
  virtual void RemoveObjects(const std::vector<CObjElement*>& objects) {
    for (CObjElement* object : objects) RemoveObject(object);
  }
  // Import, clipboard and list commands of the layout view: the list names
  // new objects, selects a set of them, and the link's pending serial request
  // can be failed. The defaults do nothing.
  virtual void MakeDefaultName(int type, std::string& name) {
    (void)type;
    (void)name;
  }
  // The list selects exactly these objects' entries and the pages follow
  // (none listed: the work area's), without the layout view hearing back.
  virtual void ShowSelection(const std::vector<CObjElement*>& objects) { (void)objects; }
  // Appends the object's entry, neither selected nor shown.
  virtual void ListObject(CObjElement* object) { AddObject(object, 0); }
  // The objects of the list's selected entries, in list order.
  virtual std::vector<CObjElement*> SelectedListObjects() { return {}; }
  // The object's entry shows its current name and is the only one selected.
  virtual void RefreshObject(CObjElement* object) { (void)object; }
};

class NullProperityViewCalls : public CProperityViewCalls {
 public:
  int AddObject(CObjElement*, int) override { return 0; }
  void SelectListIndex(int) override {}
  void ShowObject(CObjElement*) override {}
  void SetObjectName(const std::string&) override {}
  bool HitTest(const CDoublePoint&, CObjElement*& object, int& index) override {
    object = nullptr;
    index = 0;
    return false;
  }
  void SelectObject(CObjElement*, int) override {}
  void RefreshSheet(CObjElement*, int) override {}
  void ReloadPages(CObjElement*) override {}
  void FillObjectList(const CObjPtrArray&) override {}
  void RemoveObject(CObjElement*) override {}
};
