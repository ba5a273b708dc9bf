// The simulated board byte in, byte out: the records of five equal bytes are
// answered in a stream and outside one alike, and bytes that only look like
// the start of one do not cost the next command.
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

}  // namespace
