#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/views/model/ViewSettingsFiles.h"
#include "app/settings/PortAddressText.h"
#include "tests/app/start/TestFolder.h"

namespace {

struct ParseCase {
  const char* text;
  bool isAddress;
  int result;
  std::uint32_t value;
  const char* message;  // empty: no message
};

class HexPortText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(HexPortText, ParsesOrSaysWhy) {
  const ParseCase& c = GetParam();
  auto prompt = FreshPrompt();
  std::uint32_t value = 0xDEAD;
  EXPECT_EQ(ParseHexPort(value, c.text, c.isAddress), c.result);
  if (c.result == 1) {
    EXPECT_EQ(value, c.value);
  } else {
    EXPECT_EQ(value, 0xDEADu) << "a refused text leaves the value";
  }
  const std::vector<std::string> expected = *c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{};
  EXPECT_EQ(prompt->Texts(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexPortText,
    ::testing::Values(ParseCase{"378", false, 1, 0x378, ""}, ParseCase{"E800", true, 1, 0xE800, ""},
                      ParseCase{"FFFFFFFF", false, 1, 0xFFFFFFFFu, ""},
                      ParseCase{"37G", false, 0, 0, "Address error!"},
                      // The parser takes upper case only; callers convert first.
                      ParseCase{"e800", false, 0, 0, "Address error!"},
                      ParseCase{"", false, 0, 0, "Address error!"},
                      ParseCase{"12345678901", false, 0, 0, "Write data too long!"},
                      ParseCase{"1000000000", false, 0, 0, "Write data too long!"},
                      ParseCase{"1234567", true, 0, 0, "Address is too long!"},
                      ParseCase{"123456", true, 1, 0x123456, ""}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return "Case" + std::to_string(info.index); });

TEST(HexPortText, FormatsFourDigitsOrMore) {
  std::string text;
  EXPECT_EQ(FormatPortHex(0x378, text), 1);
  EXPECT_EQ(text, "0378");
  FormatPortHex(0xE800, text);
  EXPECT_EQ(text, "E800");
  FormatPortHex(0x12345, text);
  EXPECT_EQ(text, "12345");
}

TEST(PaperPrintRecord, MissingFileGivesTheCorrectedDefaults) {
  const PaperPrintSet record = LoadPaperPrintSet(FreshFolder("print-missing"));
  EXPECT_EQ(record.dpi, 300);
  EXPECT_EQ(record.lineWidthIndex, 0);
  EXPECT_EQ(record.scaleMode, 0);
  EXPECT_FLOAT_EQ(record.edgeX, 0.5f);
  EXPECT_FLOAT_EQ(record.edgeY, 0.5f);
  EXPECT_FLOAT_EQ(record.customScale, 100.0f);
}

TEST(PaperPrintRecord, StoredValuesAreCorrectedOnLoadButNotOnSave) {
  const std::string folder = FreshFolder("print-values");
  const std::string path = folder + "/PaperPrintSet.DAT";
  PaperPrintSet stored;
  stored.dpi = 0;
  stored.lineWidthIndex = -3;
  stored.scaleMode = 2;
  stored.edgeX = 0.0f;
  stored.edgeY = 2.5f;
  stored.customScale = 5000.0f;
  std::memset(stored.reserved12, 0xA5, sizeof stored.reserved12);
  ASSERT_TRUE(SavePaperPrintSet(folder, stored));
  EXPECT_EQ(std::filesystem::file_size(path), 96u);
  EXPECT_EQ(std::memcmp(ReadBytes(path).data(), &stored, 96), 0) << "saved exactly as given";

  const PaperPrintSet loaded = LoadPaperPrintSet(folder);
  EXPECT_EQ(loaded.dpi, 300);
  EXPECT_EQ(loaded.lineWidthIndex, 0);
  EXPECT_EQ(loaded.scaleMode, 2);
  EXPECT_FLOAT_EQ(loaded.edgeX, 0.5f);
  EXPECT_FLOAT_EQ(loaded.edgeY, 2.5f);
  EXPECT_FLOAT_EQ(loaded.customScale, 1000.0f);
  EXPECT_EQ(loaded.reserved12[35], 0xA5) << "reserved bytes come back as read";
}

}  // namespace
