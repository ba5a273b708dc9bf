#pragma once
// The text port: a serial device that is only read. Its monitor thread hands
// every received byte to the owner window as WM_COMM_RXCHAR (wParam the byte,
// lParam the port number) and waits until the owner has handled it, so the
// owner's receive buffer is only touched on the owner's thread.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "platform/Messages.h"
#include "platform/WinTypes.h"

constexpr DWORD EV_RXCHAR = 0x0001;  // a byte was received
constexpr DWORD EV_RXFLAG = 0x0002;  // the event character was received

// The device behind "COM<number>": $VENDRIK_COM<number> when set, else
// /dev/ttyS<number - 1>.
std::string ComDevicePath(int portNumber);

class CSerialPort {
 public:
  CSerialPort();
  virtual ~CSerialPort();
  CSerialPort(const CSerialPort&) = delete;
  CSerialPort& operator=(const CSerialPort&) = delete;

  // 1 when the device was opened (also after a reported configuration error),
  // 0 when it could not be opened.
  int InitPort(platform::MessageTarget* owner, int portNumber = 1, int baud = 19200, char parity = 'N',
               int dataBits = 8, int stopBits = 1, DWORD eventMask = EV_RXCHAR | EV_RXFLAG,
               int writeBufferSize = 512);
  bool StartMonitoring();
  void StopMonitoring();
  // Shows the text of the last system error for the operation.
  void ReportError(const char* operation);

  bool IsThreadAlive() const { return threadAlive_.load() != 0; }
  bool IsOpen() const;
  int GetPortNumber() const { return portNumber_.load(); }

  // The owner calls this after handling a WM_COMM_RXCHAR: the monitor thread
  // waits for it before it hands over the next byte.
  static void MarkHandled(const platform::Message& message);

 private:
  void ReportErrorCode(const char* operation, int code);
  void MonitorThread();
  void ReadReceivedBytes();
  bool SendByte(unsigned char byte);
  void ClosePortLocked();
  void SetShutdown();
  void JoinMonitor();

  int writeSize_ = 1;
  int fd_ = -1;  // the port handle, guarded by mutex_
  std::thread monitor_;
  std::atomic<int> threadAlive_{0};
  platform::Event shutdownEvent_{true, false};
  platform::Event writeEvent_{true, false};  // never set by the program
  int wakePipe_[2] = {-1, -1};                // makes the monitor's wait see the shutdown
  mutable std::mutex mutex_;
  std::atomic<platform::MessageTarget*> owner_{nullptr};
  std::atomic<int> portNumber_{0};
  std::atomic<DWORD> eventMask_{0};
  std::vector<unsigned char> writeBuffer_;
  // Read and wait errors are shown once until the port reads again: a device
  // that went away would otherwise raise a box on every turn of the loop.
  bool errorShown_ = false;
};
