#pragma once
// Runs a workbook reader in a short-lived child process with limits on its
// memory and time, and brings the sheet it read back over a pipe. The file
// parsers below the readers (libgsf, libzip, Qt's XML reader) are not ours:
// whatever a damaged or hostile file does to them (a crash, a hang, memory
// without end) ends the child, and the caller gets "cannot read" and goes on.
#include <chrono>
#include <cstddef>
#include <functional>

#include "libs/tabrion/LoadedSheet.h"

namespace tabrion {

class ChildReader {
 public:
  struct Limits {
    std::chrono::milliseconds time{60000};
    std::size_t memory = std::size_t{2} << 30;  // bytes the child may add to what it inherits
  };

  using Read = std::function<ReadResult(LoadedSheet&)>;

  // cannotRead when the child fails, is stopped, or sends nothing sound back.
  static ReadResult Run(const Read& read, LoadedSheet& out);

  // For tests: the limits of the next runs, and a hook run in the child
  // before it reads (to make it crash, hang or grow). Both return the old value.
  static Limits SetLimits(Limits limits);
  static std::function<void()> SetTestHook(std::function<void()> hook);
};

}  // namespace tabrion
