#include "marking/controller/CMarkControlWnd.h"

bool CMarkControlWnd::Create(platform::MessageTarget* parentFrame, int id) {
  if (parentFrame == nullptr) return false;
  parent_ = parentFrame;
  id_ = id;
  created_ = true;
  return true;
}

void CMarkControlWnd::EndMarking(WPARAM, LPARAM) { ++endCalls_; }
