#pragma once
// The property sheet inside the property view: one instance of every page
// class, the page set of the shown object's type (rebuilt only when the type
// changes), the object's values copied into the pages, and every change a
// page reports wrapped into a PROPCHANGE record (the value copied) and posted
// on to the parent. It also passes the pages' activation reports on and
// tells the parent when it rebuilt its page set; until the parent answers
// with EnablePages(1) no page reports its activation. A refill without a
// rebuild is for the object shown only: refreshing another object's values
// neither links the pages to it nor changes the page set's type. A page that
// refused a value keeps the front until the value is mended: a click on
// another tab does nothing meanwhile.
#include <QTabWidget>
#include <array>
#include <memory>
#include <string>

#include "platform/Messages.h"
#include "properties/sheet/PageSlot.h"

class CObjElement;
class CPropertyPage;
class CUpdateObjNamePage;
class CUpdatePrintProperityPage;
namespace platform_qt {
class QtMessageTarget;
}

class CObjProperitySheet : public QTabWidget {
 public:
  // A type code no object has: the first object always builds a page set.
  static constexpr int kNoType = 825;

  CObjProperitySheet(std::string caption, platform::MessageTarget* parentTarget, int firstPage);
  ~CObjProperitySheet() override;

  // Creates the sheet as a child of `parent` with the placeholder page only.
  bool Create(QWidget* parent);

  void ShowObject(CObjElement* object, int selectionCount);
  void SetObject(CObjElement* object, int selectionCount, bool rebuild);
  // The object whose pages are shown (null before the first one, or once it
  // left the list).
  CObjElement* ShownObject() const { return shown_; }
  // The object left the list: a later one made at its address is not taken
  // for the one shown.
  void Forget(const CObjElement* object);
  void BuildPages(int type);
  void EnablePages(int value);
  void SetObjectName(const std::string& name);
  void LoadWorkAreaPages(CObjElement* element, int refresh);
  void LoadObjectPages(CObjElement* element);

  // Handles a message the pages posted to the sheet.
  void HandleMessage(const platform::Message& message);
  platform::MessageTarget& Target();

  const std::string& Caption() const { return caption_; }
  int CurrentType() const { return currentType_; }
  CPropertyPage* Page(PageSlot slot) const { return pages_[static_cast<std::size_t>(slot)].get(); }
  template <class T>
  T* PageAs(PageSlot slot) const {
    return dynamic_cast<T*>(Page(slot));
  }
  CPropertyPage* ActivePage() const;
  int GetActiveIndex() const { return currentIndex(); }
  void SetActivePage(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillPages(CObjElement* object, bool rebuild, int selectionCount, bool sameType);
  void OnChange(const platform::Message& message);
  void OnCurrentChanged(int index);
  void ActivateCurrentIfNew();
  void AddPage(CPropertyPage* page);
  void RemoveAllPages();

  std::string caption_;
  platform::MessageTarget* parent_;
  int currentType_ = kNoType;
  CObjElement* shown_ = nullptr;
  int firstPage_;
  std::array<std::unique_ptr<CPropertyPage>, kPageSlotCount> pages_;
  std::unique_ptr<platform_qt::QtMessageTarget> self_;
  bool building_ = false;
};
