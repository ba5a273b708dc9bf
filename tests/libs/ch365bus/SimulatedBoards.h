#pragma once
// Fixture of the bridge library tests: a simulated bus with the boards a test
// adds, every bridge closed and the bus emptied again afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "libs/ch365bus/SimulatedCh365.h"
#include "libs/drunvel/Drunvel.h"

class SimulatedBoards : public ::testing::Test {
 protected:
  void SetUp() override {
    bus_ = std::make_shared<ch365::SimulatedCh365Bus>();
    ch365::SetBus(bus_);
  }
  void TearDown() override {
    for (std::uint32_t i = 0; i < ch365::kMaxDevices; ++i) CH365mCloseDevice(i);
    EXPECT_EQ(bus_->OpenHandles(), 0);
    ch365::SetBus(std::make_shared<ch365::SimulatedCh365Bus>());
  }

  std::shared_ptr<ch365::SimulatedCh365> AddBoard(std::uint32_t ioBase = 0xE800, std::uint32_t memBase = 0xFEBF8000,
                                                  std::uint8_t intLine = 11) {
    return bus_->AddBoard(std::make_shared<ch365::SimulatedCh365>(ioBase, memBase, intLine));
  }
  // A board added and opened as device index; its access log starts empty.
  std::shared_ptr<ch365::SimulatedCh365> OpenBoard(std::uint32_t index = 0) {
    auto chip = AddBoard();
    EXPECT_NE(CH365mOpenDevice(index, 1, 1), CH365_INVALID_HANDLE);
    chip->ClearAccesses();
    bus_->ClearBlocks();
    return chip;
  }

  std::shared_ptr<ch365::SimulatedCh365Bus> bus_;
};
