#pragma once
// "Physics screen size": the screen's width and height in millimetres, from
// which millimetres are turned into pixels.
#include <QDialog>

class QLineEdit;

class CScreenSizeDlg : public QDialog {
 public:
  static constexpr int IDD = 187;
  static constexpr int IDC_WIDTH = 1056;
  static constexpr int IDC_HEIGHT = 1057;

  explicit CScreenSizeDlg(QWidget* parent = nullptr);

  float m_width = 0.0f;   // mm
  float m_height = 0.0f;  // mm

  int DoModal();
  void OnInitDialog();
  // Reads both edits; a text that is no number shows "Please enter a
  // number." and keeps the dialog open.
  void accept() override;
  QWidget* GetDlgItem(int id) const;

 private:
  QLineEdit* width_ = nullptr;
  QLineEdit* height_ = nullptr;
};

// OK of the dialog: the smallest screen is 50 x 40 mm; the pixel scales follow
// from the screen's pixel size and both sizes are stored as "PhyScreenWidth"
// and "PhyScreenHeight".
void ApplyPhysicalScreenSize(float widthMm, float heightMm, int screenPixelWidth, int screenPixelHeight);
