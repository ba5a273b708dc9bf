#pragma once
// "rand position": the modeless jog dialog. Each arrow asks the layout view
// to move the head by the chosen step (WM_JOG_REQUEST); a new request is taken
// only when the view has signalled the last one done, or its wait ran out.
// The wait runs on a worker thread that the dialog joins: destroying the
// dialog stops the wait at once.
#include <QDialog>
#include <QPoint>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "platform/Event.h"
#include "platform/Messages.h"

class QButtonGroup;
class QCloseEvent;

class CJogPositionDlg : public QDialog {
 public:
  static constexpr int IDD = 215;
  static constexpr int IDC_POSITION_FIRST = 1091;  // 1091, 1093..1100, then 1106: indexes 0..9
  static constexpr int IDC_NO_EFFECT = 1106;
  static constexpr int IDC_STEP_FIRST = 1101;      // 1101..1105: 10, 5, 1, 0.5, 0.1 mm
  static constexpr int IDC_CLOSE = 1107;
  static constexpr int IDC_Y_MINUS = 1152;
  static constexpr int IDC_Y_PLUS = 1153;
  static constexpr int IDC_X_PLUS = 1154;
  static constexpr int IDC_X_MINUS = 1155;
  static constexpr int IDC_TOGGLE = 1157;
  static constexpr int kPositionCount = 10;
  static constexpr int kStepCount = 5;

  struct Options {
    // Writes the machine settings file (the shell's SaveMachineSet).
    std::function<void()> saveMachineSet;
    // How long a request may go unanswered before the next one is taken.
    std::chrono::milliseconds waitBound{10000};
    // The clock the bound runs on; null: the process clock.
    platform::Clock* clock = nullptr;
  };

  // view: where the requests go (the layout view).
  explicit CJogPositionDlg(platform::MessageTarget* view, QWidget* parent = nullptr);
  CJogPositionDlg(platform::MessageTarget* view, QWidget* parent, Options options);
  ~CJogPositionDlg() override;

  // Shows the dialog (again) at its remembered place.
  bool Create();
  void OnInitDialog();
  void PostJog(int code);
  // keep 0 (the close command): the view is first told with code 899. Then
  // the choices, the place and the machine settings are saved and the dialog
  // is hidden.
  void EndJog(int keep);
  // The two radio indexes into the machine settings record.
  void SaveSelection();
  void UpdateData(bool save);
  QWidget* GetDlgItem(int id) const;

  bool IsReady() const { return ready_.load() != 0; }
  bool IsClosed() const { return closed_ != 0; }
  int RequestCode() const { return requestCode_; }

  int m_positionIndex = 0;
  int m_stepIndex = 0;

 protected:
  void closeEvent(QCloseEvent* event) override;  // the close box: no 899
  void reject() override;                        // Escape: like the close box

 private:
  void BuildControls();
  void JoinWaiter();

  platform::MessageTarget* view_;
  Options options_;
  QPoint position_;
  bool positionKnown_ = false;
  QButtonGroup* positions_ = nullptr;
  QButtonGroup* steps_ = nullptr;
  std::atomic<int> ready_{1};
  int requestCode_ = 0;
  std::shared_ptr<platform::Event> event_;  // auto-reset, shared with the view
  platform::Event stop_{true, false};        // ends the waiter early
  std::thread waiter_;
  int closed_ = 0;
};
