#pragma once
// The list of a layout's objects in the property pane. Item 0 is the machine
// parameter element; each other item shows an object's name (kept in name
// order, without case, after item 0) and carries the element. The list names new objects, keeps
// its selection in step with the layout view, reports a changed selection to
// its parent and offers the delete, combine and mark-order commands.
#include <QListWidget>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "properties/list/DefaultNames.h"

class CObjElement;
class CObjPtrArray;

class CObjectListBox : public QListWidget {
 public:
  static constexpr int kControlId = 1132;
  static constexpr int kItemHeight = 18;
  // Context menu 164 "Object list".
  static constexpr int kCmdDelete = 32811;
  static constexpr int kCmdCombine = 32838;
  static constexpr int kCmdMarkOrder = 32835;

  CObjectListBox();
  ~CObjectListBox() override;

  // The window: a child of `parent`, reporting to `parentTarget`.
  bool Create(QWidget* parent, platform::MessageTarget* parentTarget);

  // Adds the element's item (in name order); with select set only the new
  // item is selected, or only item 0 when selectFirst is set. Returns its index.
  int AddObject(CObjElement* element, int select, int selectFirst);
  // Gives `name` the type's default name; other types leave it unchanged.
  void MakeDefaultName(int type, std::string& name);
  // Selects exactly the listed indexes; an empty list selects item 0.
  void SetSelection(const std::vector<int>& indexes);
  CObjElement* SelectOnly(int index);
  // Re-reads the element's name into its item and selects only it.
  void RefreshObject(CObjElement* element);
  CObjElement* GetSingleSelection() const;
  CObjElement* GetObjectAt(int index) const;
  void ResetContent();
  int FillFromArray(const CObjPtrArray& objects);
  int FillFromArray(const std::vector<CObjElement*>& objects);
  void RemoveObject(CObjElement* element, int selectFirst);
  // RemoveObject(element, 0) for each of them, in one walk over the list.
  void RemoveObjects(const std::vector<CObjElement*>& elements);
  int GetCount() const { return count(); }
  int GetSelCount() const;
  std::vector<int> GetSelectedIndexes() const;
  int FindObject(CObjElement* element, int from = 0) const;

  struct MenuState {
    bool show = false;
    bool markOrderGrey = false;
    bool combineGrey = false;
    bool deleteGrey = false;
  };
  // What the context menu offers for this selection, caret and item count.
  static MenuState ContextMenuState(int selectedCount, int caret, int itemCount);
  // A context menu command: posted to the parent without parameters.
  void OnMenuCommand(int command);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QListWidgetItem* MakeItem(CObjElement* element) const;
  static std::string NameOf(const QListWidgetItem* item);
  int SortedIndexFor(const std::string& name) const;
  bool IsParameterRecordAt(int index) const;
  void OnSelectionChanged();
  void ShowContextMenu(const QPoint& at);
  void Insert(int index, CObjElement* element);
  void Take(int index);
  // Programmatic selection changes are not the user's: no report.
  class QuietSelection;

  platform::MessageTarget* parent_ = nullptr;
  CObjElement* lastSingle_ = nullptr;
  int quiet_ = 0;
  DefaultNameIndex names_;
};
