#pragma once
// One vertex of a polyline at a time (1-based number), and its closed switch.
#include "properties/framework/CPropertyPage.h"

class QLabel;

class CUpdatePolylinePage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 161;
  static constexpr int kPageCode = 7;
  static constexpr int kX = 1014;
  static constexpr int kY = 1015;
  static constexpr int kVertexOrder = 1016;
  static constexpr int kVertexSpin = 1050;
  static constexpr int kCountText = 1051;
  static constexpr int kClosed = 1065;

  CUpdatePolylinePage();
  void LoadFromObject(CObjElement& element) override;

  int vertexNumber = 0;
  double x = 0;
  double y = 0;
  int closed = 0;
  int vertexCount = 0;

 protected:
  void OnInitDialog() override;

 private:
  void OnCoordKey(double& value, int id);
  void OnVertexKey();
  void OnVertexSpin(int delta);
  QLabel* countLabel_ = nullptr;
};
