#pragma once
// "Hardware Status test": pulses each axis, toggles the needle and the step
// lines, sets the needle frequency and shows the origin and light-test lamps.
// On the USB board every button sends a one-byte command through the
// property view's link and the dialog waits for its reply (at most the
// command's time-out on the dialog's clock, then it takes commands again); on
// the port boards the dialog drives the output port itself.
#include <QDialog>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "marking/handtools/CPortAxisTester.h"
#include "marking/link/CCritSecLock.h"
#include "marking/link/ILinkHost.h"
#include "marking/link/WireProtocol.h"
#include "marking/widgets/IoStatusSource.h"
#include "platform/Messages.h"

class CIoStatusStatic;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace platform {
class Clock;
}
namespace platform_qt {
class QtMessageTarget;
}

class CMotorTestDlg : public QDialog, public IoStatusSource {
 public:
  static constexpr int IDD = 177;
  static constexpr int IDC_MICRO_STEP = 1002;
  static constexpr int IDC_UP = 1152;
  static constexpr int IDC_DOWN = 1153;
  static constexpr int IDC_RIGHT = 1154;
  static constexpr int IDC_LEFT = 1155;
  static constexpr int IDC_NEEDLE = 1156;
  static constexpr int IDC_Z_SECOND = 1157;
  static constexpr int IDC_Z_FIRST = 1158;
  static constexpr int IDC_LAMPS = 1159;
  static constexpr int IDC_X_STEP_LINE = 1188;
  static constexpr int IDC_Y_STEP_LINE = 1189;
  static constexpr int IDC_Z_STEP_LINE = 1190;
  static constexpr int IDC_FREQUENCY = 1191;
  static constexpr int IDC_SCALE = 1192;
  static constexpr int kPauseMs = 200;  // after the opening and the closing command

  struct Options {
    platform::Clock* clock = nullptr;        // port pulses and reply time-outs; null: the process clock
    std::function<void()> saveMachineSet;    // the shell's SaveMachineSet
    std::function<void(int ms)> pause;       // default: sleep on this thread
    std::function<int()> boardType;          // default: SoftType
    int replyTimeoutMs = 0;                  // 0: the command's own time-out
  };

  // propertyView: the owner of the link; its protocol variant decides the framing.
  explicit CMotorTestDlg(ILinkHost* propertyView, QWidget* parent = nullptr);
  CMotorTestDlg(ILinkHost* propertyView, QWidget* parent, Options options);
  ~CMotorTestDlg() override;

  int DoModal();
  void OnInitDialog();
  // Builds, runs and ends the dialog on the user-interface thread, from
  // whichever thread asks.
  static int RunModal(ILinkHost* propertyView, QWidget* parent, Options options);

  // false when the command was dropped (another waits for its reply, or the
  // request could not be handed to the link).
  bool SendTestCommand(int type, const BYTE* bytes, int length);
  void SendSpeed(int frequency, double scale);
  // WM_COM_REQUEST replies.
  void OnComReply(const platform::Message& message);

  // The controls' handlers.
  void OnArrow(CPortAxisTester::Arrow arrow);
  void OnZ(bool first);
  void OnNeedle();
  void OnStepLine(int axis);
  void OnFrequencyEdit();
  void OnScaleEdit();
  void OnFrequencySpin(int delta);
  void OnScaleSpin(int delta);

  int Frequency() const { return frequency_; }
  double Scale() const { return scale_; }
  // The command waiting for its reply; 0 when none is, or its time is up.
  int PendingType() const { return PendingExpired() ? 0 : pendingType_; }
  BYTE LastBoardStatus() const { return boardStatus_.load(); }
  int HalfPeriodMicros() const { return tester_.HalfPeriodMicros(); }
  CIoStatusStatic* Lamps() const { return lamps_; }
  QWidget* GetDlgItem(int id) const;
  // The spin's arrows (object names "frequencySpinUp", "scaleSpinDown", ...).
  QPushButton* SpinButton(bool frequency, bool up) const;

  // IoStatusSource, for the lamp panel.
  int BoardType() override;
  BYTE BoardStatus() override { return boardStatus_.load(); }
  BYTE ReadInputPort() override;
  BYTE OriginLevels() override;
  void StoreLastInput(BYTE value) override;
  void ZeroStepCounter(int axis) override;

  void done(int result) override;

 private:
  bool IsUsb() { return BoardType() == 1; }
  void BuildControls();
  void ShowValues();
  void ApplySpeed();
  void ApplyReply(int type, const std::vector<BYTE>& bytes);
  void ClearPending();
  platform::Clock& ClockRef() const;
  bool PendingExpired() const;
  // A command whose time is up answers nothing any more.
  void ExpirePending();
  // Waits (bounded) for the reply of a pending command. The link stores the
  // reply in the request before it posts it, so it is seen here at once.
  void WaitPendingReply();
  void Shutdown();
  void Pause(int ms);
  int ReplyTimeoutMs(int type) const;

  ILinkHost* host_;
  Options options_;
  CPortAxisTester tester_;
  int frequency_ = 0;
  double scale_ = 0.0;
  int stepLine_[3] = {0, 0, 0};
  int pendingType_ = 0;
  std::uint64_t pendingSerial_ = 0;
  std::int64_t pendingDeadline_ = 0;  // microseconds on the dialog's clock
  BYTE buffer_[kCommandBufferSize] = {};
  CCriticalSection section_;
  std::atomic<BYTE> boardStatus_{0};
  bool shutDown_ = false;
  CIoStatusStatic* lamps_ = nullptr;
  QLineEdit* frequencyEdit_ = nullptr;
  QLineEdit* scaleEdit_ = nullptr;
  QCheckBox* microStep_ = nullptr;
  QPushButton* needle_ = nullptr;
  QPushButton* spin_[2][2] = {};  // [frequency, scale][down, up]
  std::unique_ptr<platform_qt::QtMessageTarget> replies_;
  std::shared_ptr<platform::MessageTarget> replyHandle_;
};
