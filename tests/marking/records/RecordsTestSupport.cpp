#include "RecordsTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/InstallDir.h"

namespace records_test {

std::string FreshFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::filesystem::path folder =
      std::filesystem::path(platform::DefaultDataFolder()) / (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

namespace {

std::uint32_t Le32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}
std::uint16_t Le16(const std::string& s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
}

}  // namespace

std::string ReadZipEntry(const std::string& zipPath, const std::string& entry) {
  std::ifstream in(zipPath, std::ios::binary);
  std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Walk the central directory (found through its end record).
  std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
  if (end == std::string::npos) return {};
  std::size_t at = Le32(zip, end + 16);
  const int count = Le16(zip, end + 10);
  for (int i = 0; i < count && at + 46 <= zip.size(); ++i) {
    const int method = Le16(zip, at + 10);
    const std::uint32_t packed = Le32(zip, at + 20);
    const std::uint32_t size = Le32(zip, at + 24);
    const int nameLength = Le16(zip, at + 28);
    const int extra = Le16(zip, at + 30);
    const int comment = Le16(zip, at + 32);
    const std::uint32_t local = Le32(zip, at + 42);
    const std::string name = zip.substr(at + 46, nameLength);
    at += 46 + nameLength + extra + comment;
    if (name != entry) continue;
    const std::size_t data = local + 30 + Le16(zip, local + 26) + Le16(zip, local + 28);
    if (method == 0) return zip.substr(data, size);
    std::string out(size, '\0');
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = reinterpret_cast<Bytef*>(zip.data() + data);
    stream.avail_in = packed;
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = size;
    int status = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return status == Z_STREAM_END ? out : std::string();
  }
  return {};
}

marking::MarkRecord Record(std::string main, std::string second, std::string serial, std::string code,
                           std::string date) {
  marking::MarkRecord record;
  record.keys = {std::move(main), std::move(second), std::move(serial), std::move(code)};
  record.time = "2026年12月08日20时05分";
  record.date = std::move(date);
  return record;
}

}  // namespace records_test
