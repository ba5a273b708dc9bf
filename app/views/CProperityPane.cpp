#include "app/views/CProperityPane.h"

CProperityPane::CProperityPane(QWidget* parent) : QWidget(parent) {
  setObjectName("CProperityPane");
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  setFocusPolicy(Qt::StrongFocus);
}
