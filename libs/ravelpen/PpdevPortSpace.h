#pragma once
// A real parallel port through the kernel's ppdev driver: the data register
// (port 888) is written, the status register (889) read and the control
// register (890) written, whatever base the hardware has.
#include <string>

#include "platform/PortIo.h"

namespace ravelpen {

class PpdevPortSpace : public platform::PortSpace {
 public:
  explicit PpdevPortSpace(std::string device);
  ~PpdevPortSpace() override;
  bool Initialize() override;
  void Shutdown() override;
  bool Read(WORD port, DWORD& value, BYTE size) override;
  bool Write(WORD port, DWORD value, BYTE size) override;

 private:
  std::string device_;
  int fd_ = -1;
};

}  // namespace ravelpen
