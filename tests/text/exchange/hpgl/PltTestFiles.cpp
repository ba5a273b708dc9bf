#include "tests/text/exchange/hpgl/PltTestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

std::string PltFixture(const std::string& name) { return std::string(VENDRIK_TEST_DATA_DIR) + "/plt/" + name; }

std::string WritePltFile(const std::string& name, const std::string& bytes) {
  const char* data = std::getenv("VENDRIK_DATA_DIR");
  std::filesystem::path dir = data ? std::filesystem::path(data) : std::filesystem::temp_directory_path();
  dir /= "plt-" + std::to_string(getpid());  // test cases run side by side
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

std::string Dialect2File(const std::string& name, const std::string& body) {
  return WritePltFile(name, "\x1b.(;\x1b.I81;;17:\x1b.N;19:IN;DF;IP0,0,16000,16000;SC;VS36;PW0.25;PW0.25,2;PW0.25,3;PW0.25,4;PU;PA0,0;SP1;LT;" + body);
}

std::string Dialect3File(const std::string& name, const std::string& body) {
  return WritePltFile(name, "IN;PA;SP1;WU0;PW0.350,1;PW0.350,2;PW0.350,3;PW0.350,4;PW0.350,5;PW0.350,6;PW0.350,7;PW0.350,8;VS36;LT;" + body);
}

PltRead ReadBothPasses(PltReaderFn reader, const std::string& path, int spare) {
  PltRead r;
  r.counted = 12345;  // the counting pass must reset it
  int unused = 0;
  r.countResult = reader(path, nullptr, nullptr, &r.counted, &unused, &r.countStatus);
  const int room = std::max(r.counted + spare, 0);
  r.values.assign(static_cast<std::size_t>(room), -999.0);
  r.pens.assign(static_cast<std::size_t>(room + 1) / 2, 0xEE);
  r.capacityAfter = room;
  r.fillResult = reader(path, r.values.data(), r.pens.data(), &r.capacityAfter, &r.stored, &r.status);
  return r;
}
