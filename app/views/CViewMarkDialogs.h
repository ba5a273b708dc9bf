#pragma once
// The layout view's marking and machine windows on the user-interface
// thread: the jog window (made once, then shown and ended), the hardware
// test, the dithering values and the origin corner.
#include <QWidget>
#include <functional>
#include <memory>

#include "app/views/model/ViewMarkDialogs.h"
#include "platform/Messages.h"

class CJogPositionDlg;
class ILinkHost;

class CViewMarkDialogs : public IViewMarkDialogs {
 public:
  // owner: the parent of the dialogs; view: where the jog window's requests go.
  CViewMarkDialogs(QWidget* owner, platform::MessageTarget* view, std::function<ILinkHost*()> linkHost);
  ~CViewMarkDialogs() override;

  bool HasJogWindow() override;
  void CreateJogWindow() override;
  void EndJog(int keep) override;
  void SaveJogSelection() override;
  void RunMotorTest() override;
  bool EditDithering(DitheringValues& values) override;
  bool EditOriginCorner(int& corner) override;

  CJogPositionDlg* JogWindow() const { return jog_.get(); }

 private:
  QWidget* owner_;
  platform::MessageTarget* view_;
  std::function<ILinkHost*()> linkHost_;
  std::unique_ptr<CJogPositionDlg> jog_;
};
