#pragma once
// What every property page of the object property sheet shares: its dialog
// id, caption, page code and change message, the link to the edited object,
// the binding table of its controls, the activation report and the marking
// stop filter over all its controls. Pages post their change message (the
// control id in wParam) to the sheet, never to the layout view.
#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/Messages.h"
#include "properties/framework/BindingTable.h"
#include "properties/framework/PropChange.h"
#include "widgets/CPageLink.h"

class CObjElement;
class QLineEdit;

// Page codes posted with WM_PAGE_ACTIVATED.
constexpr int kNoPageCode = -1;

class CPropertyPage : public QWidget {
 public:
  CPropertyPage(int dialogId, std::string caption, int pageCode, UINT changeMessage);
  ~CPropertyPage() override;

  int DialogId() const { return dialogId_; }
  const std::string& Caption() const { return caption_; }
  int PageCode() const { return pageCode_; }
  UINT ChangeMessage() const { return changeMessage_; }
  CPageLink& Link() { return link_; }
  const CPageLink& Link() const { return link_; }

  // Where the page posts (the sheet's queue).
  void SetSheetTarget(platform::MessageTarget* target) { sheet_ = target; }

  // The data exchange: true reads the controls into the members, false
  // writes the members into the controls. False after a failed validation.
  bool UpdateData(bool save = true);
  // Whether the last reading refused a field that still shows the refused
  // text: the operator is being sent back to it.
  bool HoldsRefusedValue() const;

  // While one lives, the notifying edits of every page report nothing: a
  // refused value's message box takes the focus, and the focus going back to
  // the refused field takes it from another field, on this page or another;
  // neither is the operator leaving a field, so neither is checked again.
  class ReportsHeld {
   public:
    ReportsHeld() { ++held_; }
    ~ReportsHeld() { --held_; }
    ReportsHeld(const ReportsHeld&) = delete;
    ReportsHeld& operator=(const ReportsHeld&) = delete;
  };
  static bool ReportsAreHeld() { return held_ > 0; }

  // Activation by the sheet: the first one after the page joined the sheet
  // initialises it, later ones refresh its controls; then the report when
  // the link's flag is set. Returns true.
  bool OnSetActive();
  // The sheet took the page out: the next activation initialises it again.
  void ResetInitialisation() { initialised_ = false; }
  bool IsInitialised() const { return initialised_; }

  // The sheet's side of the values.
  // Copies the object's values into the members (the page's own fields).
  virtual void LoadFromObject(CObjElement& element);
  // Copies again only the values that marking advances; true when the page
  // has such values.
  virtual bool LoadAdvancedValues(CObjElement& element);
  // Called before the sheet wraps a change of `id`: pages whose value must be
  // read from the controls first do so here.
  virtual void PrepareValue(int id);
  // The value the change record of control `id` carries (no value for ids
  // without one).
  virtual PropValue ValueOf(int id) const;
  // A value of another page mirrored in this one (the sheet hands it over).
  virtual void ReceiveLinkedValue(int id, const PropValue& value);
  // The change record of control `id` as the page stands now.
  std::shared_ptr<PROPCHANGE> MakeChange(int id);

 protected:
  // The page's own initialisation; the base writes the members into the controls.
  virtual void OnInitDialog();
  // Posts the change message for `id` to the sheet, its record (value and
  // object copied now) as the payload.
  void PostChange(int id);
  // Call once the controls exist: every control gets the stop filter, and
  // every notifying edit stays silent while reports are held.
  void FinishControls();

  BindingTable bindings_;

 private:
  int dialogId_;
  std::string caption_;
  int pageCode_;
  UINT changeMessage_;
  CPageLink link_;
  platform::MessageTarget* sheet_ = nullptr;
  bool initialised_ = false;
  QLineEdit* refused_ = nullptr;
  QString refusedText_;
  // UI thread only, like every page.
  static inline int held_ = 0;
  // Values refused by any page so far.
  static inline int refusals_ = 0;
};
