// Costs of the marking records as a job and the history see them: one record
// appended per pass, the duplicate check before a job, a full history look-up.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "marking/records/MarkRecords.h"

using namespace marking;

namespace {

std::string BenchFolder(const char* name) {
  auto folder = std::filesystem::temp_directory_path() /
                ("vendrik-records-bench-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

std::vector<MarkRecordItem> Layout(int n) {
  MarkRecordItem vin;
  vin.type = 17;
  vin.markedText = vin.currentText = "LSVAB4180E2" + std::to_string(100000 + n);
  MarkRecordItem serial;
  serial.type = 16;
  serial.markedText = serial.currentText = "SN" + std::to_string(n);
  return {vin, serial};
}

void Fill(CMarkDatabase& db, int records) {
  for (int i = 0; i < records; ++i) InsertMarkRecord(db, Layout(i));
}

void BM_InsertMarkRecord(benchmark::State& state) {
  const std::string folder = BenchFolder("insert");
  CMarkDatabase db(MarkDatabaseLocation::Embedded(folder));
  db.Open();
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(InsertMarkRecord(db, Layout(n++)));
  state.SetItemsProcessed(state.iterations());
  db.Close();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_InsertMarkRecord)->Unit(benchmark::kMicrosecond);

void BM_FindMarkRecord(benchmark::State& state) {
  const std::string folder = BenchFolder("find");
  CMarkDatabase db(MarkDatabaseLocation::Embedded(folder));
  db.Open();
  Fill(db, static_cast<int>(state.range(0)));
  const auto fresh = Layout(-1);  // not recorded: every look-up scans everything
  for (auto _ : state) benchmark::DoNotOptimize(FindMarkRecord(db, fresh));
  state.SetItemsProcessed(state.iterations());
  db.Close();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FindMarkRecord)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_QueryAll(benchmark::State& state) {
  const std::string folder = BenchFolder("query");
  CMarkDatabase db(MarkDatabaseLocation::Embedded(folder));
  db.Open();
  Fill(db, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(db.Query(MarkRecordQuery{.mode = kQueryAll, .keyText = {}}));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  db.Close();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_QueryAll)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
