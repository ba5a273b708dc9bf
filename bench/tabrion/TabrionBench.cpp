// Opening a workbook of 5000 rows (the whole sheet is read at the open, in a
// child process) as .xlsx and as .xls, and reading one row's cells, as the
// layout view does on every record step.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "libs/tabrion/CTabrion.h"
#include "tests/libs/tabrion/BiffWriter.h"

namespace {

// A workbook written once per run and removed at exit.
struct TempBook {
  std::string path;
  ~TempBook() { std::filesystem::remove(path); }
};

std::string BenchBook() {
  static const TempBook book{[] {
    std::string p = (std::filesystem::temp_directory_path() / ("tabrion-bench-" + std::to_string(::getpid()) + ".xlsx")).string();
    lxw_workbook* book = workbook_new(p.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    for (int r = 0; r < 5000; ++r) {
      for (int c = 0; c < 8; ++c) {
        std::string text = "Part-" + std::to_string(r) + "-" + std::to_string(c);
        worksheet_write_string(sheet, r, c, text.c_str(), nullptr);
      }
      worksheet_write_number(sheet, r, 8, r * 0.25, nullptr);
    }
    workbook_close(book);
    return p;
  }()};
  return book.path;
}

// The same cells as a BIFF8 workbook, with a date format on the numbers.
std::string BenchXls() {
  static const TempBook book{[] {
    std::string p = (std::filesystem::temp_directory_path() / ("tabrion-bench-" + std::to_string(::getpid()) + ".xls")).string();
    tabrion_test::BiffWriter xls;
    int date = xls.Style(164, "yyyy-mm-dd hh:mm");
    for (int r = 0; r < 5000; ++r) {
      for (int c = 0; c < 8; ++c) xls.SharedText(r, c, 0, "Part-" + std::to_string(r) + "-" + std::to_string(c));
      xls.Number(r, 8, date, 45356 + r * 0.25);
    }
    tabrion_test::BiffWriter::WriteCompoundFile(p, xls.Stream());
    return p;
  }()};
  return book.path;
}

void OpenBench(benchmark::State& state, const std::string& path) {
  _EXCEL_FILE_PARA para;
  std::strncpy(para.filePath, path.c_str(), sizeof para.filePath - 1);
  CTabrion reader;
  for (auto _ : state)
    if (reader.InitialExcelDataBase(para) != 0) state.SkipWithError("workbook not opened");
}

void BM_OpenWorkbook(benchmark::State& state) { OpenBench(state, BenchBook()); }
BENCHMARK(BM_OpenWorkbook)->Unit(benchmark::kMillisecond);

void BM_OpenXlsWorkbook(benchmark::State& state) { OpenBench(state, BenchXls()); }
BENCHMARK(BM_OpenXlsWorkbook)->Unit(benchmark::kMillisecond);

void BM_ReadRow(benchmark::State& state) {
  _EXCEL_FILE_PARA para;
  std::strncpy(para.filePath, BenchBook().c_str(), sizeof para.filePath - 1);
  CTabrion reader;
  if (reader.InitialExcelDataBase(para) != 0) state.SkipWithError("workbook not opened");
  long row = 1;
  for (auto _ : state) {
    for (char c = 'A'; c <= 'I'; ++c) benchmark::DoNotOptimize(reader.GetCellData(row, c));
    row = row % 5000 + 1;
  }
}
BENCHMARK(BM_ReadRow);

}  // namespace

BENCHMARK_MAIN();
