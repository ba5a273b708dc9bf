#pragma once
// A pseudo-terminal pair: the master side for a simulated device, the slave
// side's path for the program under test. The slave is kept open here as well,
// so the master never sees a hang-up while the program closes and reopens it.
#include <string>

namespace platform::serial {

class PtyPair {
 public:
  PtyPair() = default;
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  // Opens a new pair in raw mode; with linkPath, also makes a symbolic link of
  // that name to the slave device (an existing link of that name is replaced).
  bool Open(const std::string& linkPath = {});
  void Close();
  bool IsOpen() const { return master_ >= 0; }
  int MasterFd() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }
  // The path the program should open: the link when there is one.
  const std::string& DevicePath() const { return linkPath_.empty() ? slavePath_ : linkPath_; }
  const std::string& LastError() const { return error_; }

 private:
  int master_ = -1;
  int slaveHold_ = -1;
  std::string slavePath_;
  std::string linkPath_;
  std::string error_;
};

}  // namespace platform::serial
