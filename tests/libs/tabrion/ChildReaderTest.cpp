// The workbook is parsed in a child process: a parser that crashes, hangs or
// grows without end, or sends back more than the caller takes, gives "cannot
// open" (1), and the caller goes on.
#include "libs/tabrion/ChildReader.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "libs/tabrion/CTabrion.h"
#include "libs/tabrion/SheetMessage.h"
#include "tests/libs/tabrion/BiffWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using tabrion::ChildReader;

class ChildReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tabrion-child-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    xlsx_ = (dir_ / "book.xlsx").string();
    lxw_workbook* book = workbook_new(xlsx_.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    worksheet_write_string(sheet, 0, 0, "VIN", nullptr);
    worksheet_write_number(sheet, 1, 0, 7, nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    xls_ = (dir_ / "book.xls").string();
    tabrion_test::BiffWriter xls;
    xls.SharedText(0, 0, 0, "VIN");
    xls.Number(1, 0, 0, 7);
    tabrion_test::BiffWriter::WriteCompoundFile(xls_, xls.Stream());
  }
  void TearDown() override {
    ChildReader::SetTestFault(ChildReader::TestFault::none);
    ChildReader::SetLimits({});
    fs::remove_all(dir_);
  }

  static int Open(CTabrion& reader, const std::string& path) {
    _EXCEL_FILE_PARA para;
    std::strncpy(para.filePath, path.c_str(), sizeof para.filePath - 1);
    return reader.InitialExcelDataBase(para);
  }

  fs::path dir_;
  std::string xlsx_, xls_;
};

TEST_F(ChildReaderTest, CrashingHangingOrGrowingParserGivesCannotOpen) {
  struct Failure {
    const char* what;
    ChildReader::TestFault fault;
    ChildReader::Limits limits;  // only the limit under test is tight
  };
  const ChildReader::Limits loose;
  const Failure failures[] = {
      {"abort", ChildReader::TestFault::abort, loose},
      {"segmentation fault", ChildReader::TestFault::segfault, loose},
      {"hang", ChildReader::TestFault::hang, {500ms, loose.memory}},
      {"exception", ChildReader::TestFault::exception, loose},
      {"memory", ChildReader::TestFault::grow, {loose.time, std::size_t{64} << 20}},  // grows by 512 MB
      // A sheet larger than the caller takes back (both books need 60 bytes).
      {"message", ChildReader::TestFault::none, {loose.time, loose.memory, 40}},
  };
  for (const auto& failure : failures) {
    for (const std::string& path : {xlsx_, xls_}) {
      SCOPED_TRACE(std::string(failure.what) + " " + path);
      ChildReader::SetLimits(failure.limits);
      ChildReader::SetTestFault(failure.fault);
      CTabrion reader;
      EXPECT_EQ(Open(reader, path), 1);
      EXPECT_EQ(reader.opened, 0);
      EXPECT_EQ(reader.GetCellData(1, 'A'), "");
    }
  }
  // The program goes on: the same files open once the parser behaves.
  ChildReader::SetLimits({});
  ChildReader::SetTestFault(ChildReader::TestFault::none);
  CTabrion reader;
  ASSERT_EQ(Open(reader, xlsx_), 0);
  EXPECT_EQ(reader.GetCellData(2, 'A'), "7");
  ASSERT_EQ(Open(reader, xls_), 0);
  EXPECT_EQ(reader.GetCellData(1, 'A'), "VIN");
}

// Threads that allocate and free without pause, until destroyed.
class BusyAllocators {
 public:
  BusyAllocators() {
    for (std::size_t t = 0; t < 4; ++t) {
      threads_.emplace_back([this, t] {
        std::vector<std::unique_ptr<char[]>> blocks(64);
        for (std::size_t i = 0; !stop_.load(std::memory_order_relaxed); ++i)
          blocks[i % blocks.size()] = std::make_unique<char[]>(std::size_t{16} << ((i * 7 + t) % 13));  // 16 B to 64 KB
      });
    }
  }
  ~BusyAllocators() {
    stop_ = true;
    for (auto& thread : threads_) thread.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};

// Other threads of the calling program are busy in the allocator (as the
// serial link and the start-button thread are) while workbooks are read: the
// reading process must not wait for a lock one of them held at that moment.
TEST_F(ChildReaderTest, ReadsWhileOtherThreadsAllocate) {
  BusyAllocators busy;
  for (int round = 0; round < 20; ++round) {
    CTabrion reader;
    const std::string& path = round % 2 ? xls_ : xlsx_;
    if (Open(reader, path) != 0) {
      ADD_FAILURE() << path << " not read in round " << round;
      break;
    }
    EXPECT_EQ(reader.GetCellData(2, 'A'), "7");
  }
}

TEST_F(ChildReaderTest, DamagedFilesGiveAResultWithoutHarm) {
  // Every tenth byte of each file changed, one at a time, and each file cut short.
  for (const std::string& path : {xls_, xlsx_}) {
    std::ifstream in(path, std::ios::binary);
    std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string damaged = (dir_ / ("damaged" + fs::path(path).extension().string())).string();
    int refused = 0, runs = 0;
    for (std::size_t at = 8; at < good.size(); at += good.size() / 40 + 1) {
      for (const std::string& bytes : {good.substr(0, at), std::string(good).replace(at, 1, 1, static_cast<char>(good[at] ^ 0x5A))}) {
        std::ofstream(damaged, std::ios::binary | std::ios::trunc) << bytes;
        CTabrion reader;
        int result = Open(reader, damaged);
        EXPECT_TRUE(result == 0 || result == 1 || result == 3) << result;
        refused += result == 1;
        ++runs;
      }
    }
    EXPECT_GT(refused, 0) << path;
  }
}

TEST(SheetMessage, UnsoundMessagesAreRefused) {
  tabrion::LoadedSheet sheet;
  sheet.AddCell(2, 3, "abc");
  sheet.AddCell(9, 30, "");
  std::string good = tabrion::EncodeSheet(tabrion::ReadResult::ok, sheet);
  tabrion::LoadedSheet back;
  tabrion::ReadResult result = tabrion::ReadResult::cannotRead;
  ASSERT_TRUE(tabrion::DecodeSheet(good, result, back));
  EXPECT_EQ(result, tabrion::ReadResult::ok);
  EXPECT_EQ(*back.Find(2, 3), "abc");
  EXPECT_EQ(back.RowCount(), 8);
  EXPECT_EQ(back.ColumnCount(), 28);

  for (std::size_t cut = 0; cut < good.size(); ++cut)
    EXPECT_FALSE(tabrion::DecodeSheet(std::string_view(good).substr(0, cut), result, back)) << cut;
  std::string longText = good;
  longText[good.size() - 3 - 4] = 0x7F;  // a text length beyond the message
  EXPECT_FALSE(tabrion::DecodeSheet(longText, result, back));
  std::string badResult = good;
  badResult[4] = 9;
  EXPECT_FALSE(tabrion::DecodeSheet(badResult, result, back));
}

}  // namespace
