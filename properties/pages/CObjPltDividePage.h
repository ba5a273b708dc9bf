#pragma once
// The split page of imported drawings (types 9 and 11): strokes chosen in
// the preview are moved into an object of their own ("&Split image") or
// deleted ("&Delete selected") by the layout view.
#include "properties/framework/CPropertyPage.h"

class CDividePreviewEdit;

class CObjPltDividePage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 192;
  static constexpr int kPageCode = 56;
  static constexpr int kSplit = 1167;
  static constexpr int kDeleteSelected = 1168;

  CObjPltDividePage();
  void LoadFromObject(CObjElement& element) override;
  CDividePreviewEdit* Preview() const { return preview_; }
  // The buttons: a refusal's message, or the change posted to the sheet.
  void OnSplit();
  void OnDeleteSelected();

 private:
  void Request(int id, const char* nothingSelected);
  CDividePreviewEdit* preview_;
};
