#pragma once
// What every property page knows of the object it edits: the element whose
// values it shows (element 0 for the work-area pages, null until the sheet
// first fills the page) and whether it may report its activation (0 while the
// sheet rebuilds its page set).
class CObjElement;

class CPageLink {
 public:
  CPageLink() { Clear(); }
  void Clear() { object_ = nullptr; }
  void SetObject(CObjElement* object) { object_ = object; }
  CObjElement* GetObject() const { return object_; }
  void SetValue(int flag) { flag_ = flag; }
  int GetValue() const { return flag_; }

 private:
  int flag_ = 0;
  CObjElement* object_ = nullptr;
};
