#pragma once
// Runs a workbook reader in a short-lived child process with limits on its
// memory and time, and brings the sheet it read back over a pipe. The file
// parsers below the readers (libgsf, libzip, Qt's XML reader) are not ours:
// whatever a damaged or hostile file does to them (a crash, a hang, memory
// without end) ends the child, and the caller gets "cannot read" and goes on.
// The child is a fresh run of the reader program (vendrik-tabrion-reader),
// never a copy of the caller: a copy of a program with threads inherits every
// lock another thread held at that moment (the allocator's among them) and
// would wait on it for ever.
#include <chrono>
#include <cstddef>
#include <string>

#include "libs/tabrion/LoadedSheet.h"

namespace tabrion {

class ChildReader {
 public:
  struct Limits {
    std::chrono::milliseconds time{60000};
    std::size_t memory = std::size_t{2} << 30;  // bytes the child may add to what it has at its start
    // Bytes of the sheet the child may send back. A few bytes of packed
    // workbook can name one long shared text in every cell: beyond this the
    // sheet is refused rather than held twice (message and sheet) here.
    std::size_t message = std::size_t{256} << 20;
  };

  enum class WorkbookKind { xls, xlsx };
  struct Request {
    WorkbookKind kind = WorkbookKind::xlsx;
    std::string path;
    int sheetNumber = 0;  // 1-based; 0 names no sheet
  };

  // cannotRead when the child cannot be started, fails, is stopped, or sends
  // nothing sound back.
  static ReadResult Run(const Request& request, LoadedSheet& out);

  // The reader program's work, given the arguments Run passes it: reads the
  // workbook under the limits and writes the sheet to the pipe. Never returns.
  [[noreturn]] static void ReaderMain(int argc, char** argv);

  // For tests: the limits of the next runs, and what the reader program does
  // wrong before it reads. Both return the old value.
  enum class TestFault { none, abort, segfault, hang, exception, grow };
  static Limits SetLimits(Limits limits);
  static TestFault SetTestFault(TestFault fault);
};

}  // namespace tabrion
