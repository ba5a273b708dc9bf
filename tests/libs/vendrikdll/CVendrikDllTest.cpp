// The port board class against a simulated bridge.
#include "libs/vendrikdll/CVendrikDll.h"

#include <vector>

#include "tests/libs/ch365bus/SimulatedBoards.h"

namespace {

using namespace ch365;
using Writes = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
using PortBoard = SimulatedBoards;

Writes WritesOf(const SimulatedCh365& chip) {
  Writes writes;
  for (const auto& a : chip.IoWrites()) writes.emplace_back(a.offset, a.value);
  return writes;
}

TEST_F(PortBoard, InitialBoardOpensBridgeZeroAndSetsTheModeWord) {
  auto chip = AddBoard(0xD800);
  CVendrikDll board;
  EXPECT_EQ(board.opened, 0);
  EXPECT_EQ(board.InitialBoard(), 1);
  EXPECT_EQ(board.opened, 1);
  EXPECT_EQ(board.ioBase, 0xD800u);
  EXPECT_EQ(WritesOf(*chip), (Writes{{3, 0x82}}));
}

TEST_F(PortBoard, PortsAandCAreWrittenAndPortBRead) {
  auto chip = AddBoard();
  CVendrikDll board;
  ASSERT_EQ(board.InitialBoard(), 1);
  chip->ClearAccesses();
  board.OutPortValue_PA(0x55);
  board.OutPortValue_PC(0xAA);
  EXPECT_EQ(board.WriteByte(3, 0x80), 1);
  chip->QueueInput(1, 0x3C);
  EXPECT_EQ(board.ReadPort_PB(), 0x3C);
  EXPECT_EQ(WritesOf(*chip), (Writes{{0, 0x55}, {2, 0xAA}, {3, 0x80}}));
}

TEST_F(PortBoard, NothingReachesTheBoardBeforeInitialisation) {
  auto chip = AddBoard();
  ASSERT_NE(CH365mOpenDevice(0, 1, 1), CH365_INVALID_HANDLE);
  chip->ClearAccesses();
  CVendrikDll board;
  board.ioBase = 0xE800;
  board.OutPortValue_PA(1);
  board.OutPortValue_PC(1);
  EXPECT_EQ(board.WriteByte(0, 1), 0);
  chip->SetIdleInput(1, 0x77);
  EXPECT_EQ(board.ReadPort_PB(), 0);
  EXPECT_TRUE(chip->Accesses().empty());
}

TEST_F(PortBoard, NoBoardLeavesTheObjectClosed) {
  CVendrikDll board;
  EXPECT_EQ(board.InitialBoard(), 0);
  EXPECT_EQ(board.opened, 0);
  EXPECT_EQ(board.ReadPort_PB(), 0);
  board.CloseBoard();
}

TEST_F(PortBoard, FailedBaseQueryLeavesTheObjectClosedButTheBridgeOpen) {
  auto chip = AddBoard();
  bus_->FailCommand(kGetIoBase);
  CVendrikDll board;
  EXPECT_EQ(board.InitialBoard(), 0);
  EXPECT_EQ(board.opened, 0);
  EXPECT_EQ(bus_->OpenHandles(), 1);
  EXPECT_TRUE(chip->IoWrites().empty());
}

TEST_F(PortBoard, DestroyingAnyObjectClosesBridgeZero) {
  AddBoard();
  ASSERT_NE(CH365mOpenDevice(0, 1, 1), CH365_INVALID_HANDLE);
  { CVendrikDll neverInitialised; }
  EXPECT_EQ(bus_->OpenHandles(), 0);
  { CVendrikDll again; }  // nothing left to close
}

TEST_F(PortBoard, ReadOfPortBThatFailsGivesZero) {
  auto chip = AddBoard();
  CVendrikDll board;
  ASSERT_EQ(board.InitialBoard(), 1);
  chip->SetIdleInput(1, 0x77);
  bus_->FailCommand(kReadIoByte);
  EXPECT_EQ(board.ReadPort_PB(), 0);
}

TEST_F(PortBoard, AssignmentCopiesTheThreeFields) {
  CVendrikDll a;
  a.ioBase = 0x1234;
  a.deviceIndex = 2;
  a.opened = 1;
  CVendrikDll b;
  b = a;
  EXPECT_EQ(b.ioBase, 0x1234u);
  EXPECT_EQ(b.deviceIndex, 2);
  EXPECT_EQ(b.opened, 1);
}

TEST(VendrikDllExports, NeighboursOfTheClass) {
  EXPECT_EQ(fnVendrikDll(), 42);
  EXPECT_EQ(nVendrikDll, 0);
}

}  // namespace
