#pragma once
// What the kernel driver does with a command block: checks its size and
// code, performs it on the bridge and fills in the returned fields. One per
// open handle; both backends share it, so the blocks mean the same on each.
#include <array>
#include <memory>
#include <vector>

#include "libs/ch365bus/Ch365Bus.h"
#include "libs/ch365bus/Ch365Hardware.h"

namespace ch365 {

class Ch365DriverHandle : public Ch365Handle {
 public:
  // The version byte this driver reports.
  static constexpr std::uint8_t kVersion = 1;

  Ch365DriverHandle(std::shared_ptr<Ch365Hardware> hardware, std::intptr_t value);

  std::intptr_t Value() const override { return value_; }
  bool Control(std::uint32_t code, std::uint8_t* buffer, std::uint32_t inSize, std::uint32_t outSize,
               std::uint32_t& returned) override;

 private:
  bool Run(std::uint32_t command, std::uint32_t& address, std::uint32_t length, std::uint8_t* data,
           std::uint32_t room);

  std::shared_ptr<Ch365Hardware> hardware_;
  std::intptr_t value_;
  // The two interrupt command buffers: blocks kept for the caller.
  std::array<std::vector<std::uint8_t>, 2> intCommands_;
};

}  // namespace ch365
