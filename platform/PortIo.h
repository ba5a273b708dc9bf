#pragma once
// In place of the WinIo library: byte, word and double-word access to I/O ports.
// The backend is a simulated port space (records every access, serves scripted
// input) or, on x86 Linux with privileges, real port I/O.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

struct PortAccess {
  bool write = false;
  WORD port = 0;
  DWORD value = 0;
  BYTE size = 1;
  std::int64_t timeMicros = 0;  // on the current clock, when the access happened
};

class PortSpace {
 public:
  virtual ~PortSpace() = default;
  // Gains access for the calling thread; false when it cannot.
  virtual bool Initialize() = 0;
  virtual void Shutdown() = 0;
  // size is 1, 2 or 4; anything else fails.
  virtual bool Read(WORD port, DWORD& value, BYTE size) = 0;
  virtual bool Write(WORD port, DWORD value, BYTE size) = 0;
};

// Records every access; reads take the next scripted value of the port, else
// its idle value (0xFF unless set).
class SimulatedPortSpace : public PortSpace {
 public:
  bool Initialize() override;
  void Shutdown() override;
  bool Read(WORD port, DWORD& value, BYTE size) override;
  bool Write(WORD port, DWORD value, BYTE size) override;

  void QueueInput(WORD port, DWORD value);
  void SetIdleInput(WORD port, DWORD value);
  std::vector<PortAccess> Accesses() const;
  std::vector<PortAccess> Writes(WORD port) const;
  void ClearAccesses();
  // Keeps only the last value written to each port (benchmarks of long runs).
  void SetRecording(bool on);
  DWORD LastWritten(WORD port) const;

 private:
  mutable std::mutex mutex_;
  bool recording_ = true;
  std::vector<PortAccess> accesses_;
  std::map<WORD, std::deque<DWORD>> queued_;
  std::map<WORD, DWORD> idle_;
  std::map<WORD, DWORD> last_;
};

// Real port I/O through ioperm/iopl (x86 Linux). Initialize fails without
// privileges or on other processors.
std::shared_ptr<PortSpace> MakeLinuxPortSpace();

// Chosen by $VENDRIK_PORT_BACKEND ("linux" or "simulated", default simulated).
std::shared_ptr<PortSpace> MakeConfiguredPortSpace();

PortSpace& CurrentPortSpace();
void SetPortSpace(std::shared_ptr<PortSpace> space);

}  // namespace platform

// The WinIo calls as the port helpers use them, on the current port space.
bool InitializeWinIo();
void ShutdownWinIo();
bool GetPortVal(WORD port, DWORD* value, BYTE size);
bool SetPortVal(WORD port, DWORD value, BYTE size);
