// The simulated board byte in, byte out: the records of five equal bytes are
// answered in a stream and outside one alike, and bytes that only look like
// the start of one do not cost the next command; the parameter block is taken
// however long the host pauses before it, but a block cut off is dropped.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tools/boardsim/BoardSimulator.h"

namespace {

using boardsim::Bytes;
using boardsim::Variant;

struct IdleCase {
  const char* name;
  Variant variant;
  Bytes sent;
  Bytes reply;
  std::vector<std::string> commands;
};

void PrintTo(const IdleCase& c, std::ostream* os) { *os << c.name; }

class IdleRecordTest : public ::testing::TestWithParam<IdleCase> {};

TEST_P(IdleRecordTest, AnsweredAsInAStream) {
  const IdleCase& c = GetParam();
  boardsim::BoardSimulator board(boardsim::BoardConfig{c.variant});
  Bytes replies;
  board.SetOutput([&](const Bytes& bytes, int) { replies.insert(replies.end(), bytes.begin(), bytes.end()); });
  board.Feed(c.sent, 0);
  EXPECT_EQ(replies, c.reply);
  EXPECT_EQ(board.Commands(), c.commands);
  EXPECT_FALSE(board.InStream());
  EXPECT_TRUE(board.Moves().empty());
}

const Bytes kRrFrame{0x0B, 0x0C, 0x00, 'R', 'S', 'O', 'K', 0xFD, 0xFE};

INSTANTIATE_TEST_SUITE_P(
    Records, IdleRecordTest,
    ::testing::Values(
        IdleCase{"PlainPause", Variant::Plain, {0x50, 0x50, 0x50, 0x50, 0x50}, {0xAA}, {"PAUSE"}},
        IdleCase{"PlainEnd", Variant::Plain, {0x45, 0x45, 0x45, 0x45, 0x45}, {0xAA}, {"END"}},
        IdleCase{"FramedPause", Variant::Framed, {0x50, 0x50, 0x50, 0x50, 0x50, 0x90}, {0xDD, 0xDD, 0xDD, 0xDD}, {"PAUSE"}},
        IdleCase{"FramedResync", Variant::Framed, {0x55, 0x55, 0x55, 0x55, 0x55, 0xA9}, {0xDD, 0xDD, 0xDD, 0xDD}, {"RESYNC"}},
        IdleCase{"FramedBadSum", Variant::Framed, {0x45, 0x45, 0x45, 0x45, 0x45, 0x00}, {'R', 'R', 'R', 'R'}, {"BADSUM"}},
        // Two stray 0x50 bytes, then the origin command: only the command counts.
        IdleCase{"StrayBytesBeforeACommand", Variant::Plain, {0x50, 0x50, 0, 0, 0, 0, 0, 0, 'R', 'R'}, kRrFrame, {"RR"}}),
    [](const ::testing::TestParamInfo<IdleCase>& info) { return std::string(info.param.name); });

// The letter command "HH" and then its 28-byte block, at the times given.
class ParameterBlockTest : public ::testing::Test {
 protected:
  ParameterBlockTest() {
    board_.SetOutput([this](const Bytes& bytes, int) { replies_.push_back(bytes); });
  }
  static Bytes Letter(char c) { return {0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c)}; }
  static Bytes Block(std::size_t from, std::size_t to) {
    Bytes block;
    for (std::size_t i = from; i < to; ++i) block.push_back(static_cast<std::uint8_t>(0x11 + i));
    return block;
  }

  boardsim::BoardSimulator board_{boardsim::BoardConfig{Variant::Plain}};
  std::vector<Bytes> replies_;
};

const Bytes kHhFrame{0x0B, 0x0C, 'H', 'H', 0xFD, 0xFE};
const Bytes kParaFrame{0x0B, 0x0C, 'P', 'A', 'R', 'A', 0xFD, 0xFE};

TEST_F(ParameterBlockTest, ALateBlockIsStillTaken) {
  // A busy host took the answer and paused far longer than a command's bytes
  // are ever apart.
  board_.Feed(Letter('H'), 0);
  board_.Feed(Block(0, 28), 1500);
  EXPECT_EQ(replies_, (std::vector<Bytes>{kHhFrame, kParaFrame}));
  EXPECT_EQ(board_.Commands(), (std::vector<std::string>{"HH", "PARA"}));
  EXPECT_EQ(board_.LastParameterBlock(), Block(0, 28));
}

TEST_F(ParameterBlockTest, ABlockCutOffIsDroppedAndTheNextCommandCounts) {
  board_.Feed(Letter('H'), 0);
  board_.Feed(Block(0, 10), 100);
  board_.Feed(Block(10, 28), 1000);
  board_.Feed(Letter('R'), 1001);
  EXPECT_EQ(board_.Commands(), (std::vector<std::string>{"HH", "RR"}));
}

TEST_F(ParameterBlockTest, AHelloSentAgainAfterTheHostGaveUpIsACommand) {
  board_.Feed(Letter('H'), 0);
  board_.Feed(Letter('H'), 3000);
  board_.Feed(Block(0, 28), 3100);
  EXPECT_EQ(board_.Commands(), (std::vector<std::string>{"HH", "HH", "PARA"}));
}

}  // namespace
